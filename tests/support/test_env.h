// Environment every test process starts with: the offscreen platform and the
// source and binary folders (unless the caller set them).
#pragma once

#include <QByteArray>
#include <QtGlobal>

inline void SetUpTestEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    if (qEnvironmentVariableIsEmpty("ZW_SOURCE_DIR"))
        qputenv("ZW_SOURCE_DIR", QByteArray(ZW_SOURCE_DIR_DEFAULT));
    if (qEnvironmentVariableIsEmpty("ZW_TEST_BIN_DIR"))
        qputenv("ZW_TEST_BIN_DIR", QByteArray(ZW_TEST_BIN_DIR_DEFAULT));
    // With TZ unset, glibc's tzset() frees and copies its zone name on every call under
    // a lock ThreadSanitizer cannot see, so a capture thread that logs while the test
    // reads the local time looks like a race inside the C library. The system's zone
    // file named explicitly, before any thread starts, gives the same local time.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", QByteArray(":/etc/localtime"));
}
