// The star data reader on any bytes: it reads what it finds into the record and
// leaves every field a finite number.
#include "astro/StarData.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The first byte picks the date, so every data set's keys are reached.
    const QDate today = QDate(2015, 6, 1).addDays(size > 0 ? data[0] * 16 : 0);
    for (const char* hemisphere : {"N", "S"}) {
        STARDATA record = StarDataStartValues(QString::fromLatin1(hemisphere));
        ReadStarData(bytes, record, today);
        for (double v : {record.abp, record.bap, record.dbp, record.poleX, record.poleY, record.bX,
                         record.bY, record.aX, record.aY, record.dX, record.dY})
            FUZZ_CHECK(std::isfinite(v));
    }
    return 0;
}
