# Precompiled headers where they pay. With -O2 -g most of a source's time is
# code generation, and a header precompiled with debug information is large
# (170 to 190 MB) and takes 10 to 12 s to build, so only targets of many
# sources that all parse the same big headers gain: the core and the language
# server (Qt Core's strings, containers, files and JSON) and the core's tests
# (GoogleTest besides). Measured per source in user time: 2 to 3 s less for
# the core's sources and its tests; the widget tests gained 0.5 to 1 s a
# source against a 13 s header (270 MB), and programs of a few sources gain
# less than their header costs. A target that leaves out an include compiles
# here all the same, but not in the fuzz build (tests/fuzz/libfuzzer), which
# compiles the core without them.
option(ZUVI_PCH "Precompile the headers the core, the language server and the core's tests share" ON)
if(NOT ZUVI_PCH)
  return()
endif()

set(zuvi_qtcore_pch
  <QByteArray> <QDir> <QFile> <QFileInfo> <QHash> <QJsonArray> <QJsonObject> <QJsonValue> <QList>
  <QRegularExpression> <QSet> <QString> <QStringList> <QStringView>
  <algorithm> <functional> <optional>)
target_precompile_headers(zuvi_core_code PRIVATE ${zuvi_qtcore_pch})
target_precompile_headers(zuvi_lsp PRIVATE ${zuvi_qtcore_pch})
if(TARGET core_tests)
  target_precompile_headers(core_tests PRIVATE <gtest/gtest.h> ${zuvi_qtcore_pch} <QTemporaryDir>)
endif()
