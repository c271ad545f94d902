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
}
