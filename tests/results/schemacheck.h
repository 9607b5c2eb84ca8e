#pragma once

#include "temporaryfolder.h"

#include <QProcess>

// True when the JSON file validates against the documented run schema
// (Python's jsonschema); `why` says what the validator found.
inline bool validatesAgainstRunSchema(const QString &jsonFile, QString &why)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import json, sys, jsonschema\n"
                                 "schema = json.load(open(sys.argv[1]))\n"
                                 "jsonschema.Draft7Validator.check_schema(schema)\n"
                                 "jsonschema.validate(json.load(open(sys.argv[2])), schema)\n"),
                  QStringLiteral(RESULTS_SCHEMA), jsonFile});
    python.waitForFinished(30000);
    why = QString::fromUtf8(python.readAllStandardError()).right(300);
    return python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0;
}
