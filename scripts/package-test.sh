#!/usr/bin/env bash
# Checks a ZenithWand Debian package the way a user meets it:
#   scripts/package-test.sh <zenithwand_*.deb> [<build folder it was made from>]
#
#  1. lintian reports no error (warnings are listed);
#  2. the package's dependencies are installed on this machine;
#  3. dpkg installs it into a fresh root (its own dpkg database in a temporary folder);
#  4. desktop-file-validate and appstreamcli validate its desktop entry and metainfo;
#  5. the installed zenithwand answers --version, --help and a wrong option;
#  6. the installed program starts offscreen with a fresh home, writes its start-up
#     lines into the day's log in the documents folder, closes on SIGTERM and keeps
#     its settings in the configuration folder (not beside the program);
#  7. dpkg removes it again, leaving none of its files.
# Everything happens in temporary folders, which go at the end whatever happened.
set -euo pipefail

deb=$(realpath "${1:?usage: scripts/package-test.sh <package.deb> [<build folder>]}")
build=${2:-} # with it: a camera library built there must be in the package too
work=$(mktemp -d "${TMPDIR:-/tmp}/zw-package-test.XXXXXX")
app_pid=
cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill -KILL "$app_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "package test FAILED: $*" >&2
    exit 1
}
step() { printf -- '-- %s\n' "$*"; }

version=$(dpkg-deb -f "$deb" Version)
package=$(dpkg-deb -f "$deb" Package)
[ "$package" = zenithwand ] || fail "package name is '$package'"

step "lintian"
lintian_out=$work/lintian.txt
lintian_status=0
lintian --no-tag-display-limit --fail-on error "$deb" >"$lintian_out" 2>"$work/lintian.err" ||
    lintian_status=$?
if [ "$lintian_status" -ne 0 ] || grep -q '^E: ' "$lintian_out"; then
    cat "$lintian_out" "$work/lintian.err" >&2
    fail "lintian reports errors or did not run (status $lintian_status)"
fi
grep -E '^(W|I|P): ' "$lintian_out" | sed 's/^/   /' || true

step "dependencies: $(dpkg-deb -f "$deb" Depends)"
# Each group "a (>= 1) | b" needs one alternative installed in a fitting version.
IFS=',' read -ra groups <<<"$(dpkg-deb -f "$deb" Depends)"
[ ${#groups[@]} -gt 0 ] || fail "the package declares no dependencies"
for group in "${groups[@]}"; do
    met=no
    IFS='|' read -ra alternatives <<<"$group"
    for alt in "${alternatives[@]}"; do
        name=$(echo "$alt" | sed -E 's/^ *([^ (]+).*$/\1/')
        relation=$(echo "$alt" | sed -nE 's/.*\( *([<>=]+) *([^ )]+) *\).*/\1 \2/p')
        installed=$(dpkg-query -W -f='${Status} ${Version}\n' "$name" 2>/dev/null |
            awk '/install ok installed/ {print $4; exit}')
        [ -n "$installed" ] || continue
        if [ -n "$relation" ]; then
            op=${relation% *}
            want=${relation#* }
            case $op in
                '>=') op=ge ;; '<=') op=le ;; '>>') op=gt ;; '<<') op=lt ;; '=') op=eq ;;
            esac
            dpkg --compare-versions "$installed" "$op" "$want" || continue
        fi
        met=yes
        break
    done
    [ "$met" = yes ] || fail "dependency not met on this machine: $group"
done
for lib in libqt6widgets6 libopencv-core; do
    dpkg-deb -f "$deb" Depends | grep -q "$lib" || fail "no dependency on $lib"
done

step "dpkg -i into a fresh root"
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
: >"$root/var/lib/dpkg/status"
dpkg_root=(dpkg --root="$root" --log="$work/dpkg.log" --force-depends)
[ "$(id -u)" -eq 0 ] || dpkg_root+=(--force-not-root --force-bad-path)
"${dpkg_root[@]}" -i "$deb" >"$work/dpkg-install.txt" 2>&1 || {
    cat "$work/dpkg-install.txt" >&2
    fail "dpkg -i"
}
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' zenithwand)" = \
    "install ok installed" ] || fail "dpkg does not list zenithwand as installed"
usr=$root/usr
camlibs=$(dirname "$(find "$usr/lib" -name libzorcam.so | head -n 1)")
[ "$camlibs" != . ] || fail "libzorcam.so is not installed"
for f in bin/zenithwand bin/zorcam-sim-ctl \
    share/zenithwand/Blend.Style share/zenithwand/Dark.Style share/zenithwand/Night.Style \
    share/icons/hicolor/256x256/apps/zenithwand.png \
    share/man/man1/zenithwand.1.gz share/man/man1/zorcam-sim-ctl.1.gz \
    share/doc/zenithwand/copyright share/doc/zenithwand/changelog.gz; do
    [ -e "$usr/$f" ] || fail "/usr/$f is not installed"
done
if [ -n "$build" ] && [ -e "$build/bin/libzorcam-indi.so" ]; then
    [ -e "$camlibs/libzorcam-indi.so" ] || fail "the INDI camera library is missing"
fi

step "desktop entry and metainfo"
desktop=("$usr"/share/applications/*.desktop)
metainfo=("$usr"/share/metainfo/*.metainfo.xml)
[ -f "${desktop[0]}" ] || fail "no desktop entry"
[ -f "${metainfo[0]}" ] || fail "no metainfo file"
desktop-file-validate "${desktop[@]}" || fail "desktop-file-validate"
appstreamcli validate --no-net "${metainfo[@]}" || fail "appstreamcli validate"
grep -q "<launchable type=\"desktop-id\">$(basename "${desktop[0]}")</launchable>" \
    "${metainfo[0]}" || fail "the metainfo names another desktop entry"
grep -q '^Icon=zenithwand$' "${desktop[0]}" || fail "the desktop entry names another icon"
grep -q '<icon type="stock">zenithwand</icon>' "${metainfo[0]}" || fail "the metainfo names another icon"
icon=$usr/share/icons/hicolor/256x256/apps/zenithwand.png
file "$icon" | grep -q 'PNG image data, 256 x 256' || fail "the icon is not a 256 x 256 PNG: $(file -b "$icon")"
zcat "$usr/share/man/man1/zenithwand.1.gz" | grep -q -- 'camera\\-library' ||
    fail "the manual page does not describe --camera-library"
# The user manual is compiled into the program (stored uncompressed), in both languages.
for heading in '# ZenithWand Manual' '# ZenithWand 使用手册' '## Keyboard' '## 键盘'; do
    grep -aqF -- "$heading" "$usr/bin/zenithwand" || fail "the program carries no manual: '$heading'"
done

step "command line of the installed program"
program=$usr/bin/zenithwand
out=$("$program" --version) || fail "--version ended with $?"
[ "$out" = "ZenithWand Version $version" ] || fail "--version says '$out'"
out=$("$program" --help) || fail "--help ended with $?"
for word in --help --version --camera-library; do
    grep -q -- "$word" <<<"$out" || fail "--help does not mention $word"
done
status=0
"$program" --no-such-option >/dev/null 2>"$work/usage.txt" || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with $status instead of 2"
grep -q -- '--help' "$work/usage.txt" || fail "no usage text for an unknown option"

step "the installed program starts and closes offscreen"
home=$work/home
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
env -i -C "$home" PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
    XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
    ZORCAM_SIM_CONFIG="$home/zorcam-sim.ini" \
    "$program" >"$work/program.out" 2>&1 &
app_pid=$!
logs_root="$home/Documents/ZenithWand"
log_file=
for _ in $(seq 1 600); do # up to a minute on a busy machine
    log_file=$(find "$logs_root" -name 'ZenithWand.*.log' 2>/dev/null | head -n 1 || true)
    if [ -n "$log_file" ] && grep -q 'FormShow' "$log_file"; then
        break
    fi
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$log_file" ] || ! grep -q 'FormShow' "$log_file"; then
    cat "$work/program.out" >&2
    [ -z "$log_file" ] || cat "$log_file" >&2
    fail "no start-up lines in a log under $logs_root"
fi
[[ $log_file =~ ^"$logs_root"/logs\ [0-9]{4}-[0-9]{2}-[0-9]{2}/ZenithWand\.[0-9.]+\.log$ ]] ||
    fail "the log is not in a day's folder: $log_file"
# The packaged camera library, not one from a build tree.
grep -q "$camlibs/libzorcam.so" "/proc/$app_pid/maps" ||
    fail "the program did not load $camlibs/libzorcam.so"
for line in 'FormCreate start.' 'FormCreate done.' 'ChangeUIStyle to Color' 'FormShow'; do
    grep -q $'\t\[Info\]\t'"$line" "$log_file" || fail "the log lacks '$line'"
done
if grep -q $'\t\[Error\]\t' "$log_file"; then
    cat "$log_file" >&2
    fail "the start-up logged an error"
fi
kill -TERM "$app_pid"
for _ in $(seq 1 300); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
    fail "the program did not close on SIGTERM"
fi
app_status=0
wait "$app_pid" || app_status=$?
app_pid=
[ "$app_status" -eq 0 ] || fail "the program ended with $app_status after SIGTERM"
grep -q 'FormClose done.' "$log_file" || fail "the log lacks 'FormClose done.'"
settings=$(find "$home/.config" -name ZenithWand.ini 2>/dev/null | head -n 1 || true)
[ -n "$settings" ] || fail "no settings file in the configuration folder"
grep -q '^lang' "$settings" || fail "the settings file holds no language"
[ ! -e "$usr/bin/ZenithWand.ini" ] || fail "settings were written beside the installed program"
echo "   log: ${log_file#"$home"/}"
echo "   settings: ${settings#"$home"/}"

step "dpkg -r"
"${dpkg_root[@]}" --purge zenithwand >"$work/dpkg-remove.txt" 2>&1 || {
    cat "$work/dpkg-remove.txt" >&2
    fail "dpkg --purge"
}
left=$(find "$root/usr" -type f 2>/dev/null | head -n 5 || true)
[ -z "$left" ] || fail "files left after removal: $left"

echo "package test passed: $(basename "$deb")"
