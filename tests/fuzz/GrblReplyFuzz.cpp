// The motor controller's replies on any bytes: every line reads as one of the kinds,
// a status carries a state word, its position is finite, and a jog line built from
// what was read is either empty or one whole line.
#include "motor/GrblProtocol.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QList>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    for (const QByteArray& line : bytes.split('\n')) {
        const GrblReply r = ParseGrblLine(line);
        FUZZ_CHECK(r.kind >= GrblReply::Empty && r.kind <= GrblReply::Other);
        if (r.kind == GrblReply::Status)
            FUZZ_CHECK(!r.state.isEmpty());
        if (r.hasMpos) {
            for (double v : r.mpos)
                FUZZ_CHECK(std::isfinite(v));
            const QByteArray jog = GrblJogLine({{'X', r.mpos[0]}, {'Y', r.mpos[1]}}, 100);
            FUZZ_CHECK(jog.isEmpty() || (jog.endsWith('\n') && jog.count('\n') == 1));
        }
    }
    return 0;
}
