// Saves two different settings records into one file, one after the other, until
// it is killed; the crash-during-save test kills it at random moments.
//
//   settings_writer FILE        prints "saving" once it starts, then never returns
#include "app/Settings.h"
#include "settings_records.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const INIFILEINFO records[] = {NewSettingsRecord(), OldSettingsRecord()};
    std::puts("saving");
    std::fflush(stdout);
    for (unsigned long i = 0;; ++i) {
        if (!SaveSettingsFile(path, records[i % 2]))
            return 1;
    }
}
