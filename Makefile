# Shortcuts for developers; ./zw does the work.
.PHONY: run test bench setup format
run:
	./zw run
test:
	./zw test
bench:
	./zw bench
setup:
	./zw setup
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
