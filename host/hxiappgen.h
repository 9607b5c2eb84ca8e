#pragma once

#include "hxiexport.h"
#include "hxiunknown.h"

#include <QMap>
#include <QString>
#include <QStringList>

// Offered by application-type modules that generate test applications.
// The sequencer never calls it; it exports the class so that modules built
// against the sequencer can implement it.
class HXI_EXPORT HxiAppGen : public VemoInterface::HxiUnknown
{
public:
    // Defined in the library, so that it exports them.
    HxiAppGen();
    HxiAppGen(const HxiAppGen &);
    HxiAppGen &operator=(const HxiAppGen &);

    // slot 3: generate `application`; non-zero when generation started
    virtual int generate(const QString &application) = 0;
    // slot 4: stop a running generation
    virtual void cancel(const QString &application) = 0;
    // slot 5: whether the generated files are older than their sources
    virtual bool isOutdated(const QString &application) = 0;
    // slot 6: the files a generation writes
    virtual QStringList generatedFiles(const QString &application) = 0;
    // slot 7: the files a generation reads
    virtual QStringList sourceFiles(const QString &application) = 0;
    // slot 8: the generation options of `application`
    virtual QMap<QString, QString> options(const QString &application) = 0;
    // slot 9: replace the generation options of `application`
    virtual void setOptions(const QString &application, const QMap<QString, QString> &options) = 0;
    // slot 10: remove what a generation wrote
    virtual void clean(const QString &application) = 0;
    // slot 11: the log of the last generation
    virtual QString lastLog(const QString &application) = 0;

protected:
    ~HxiAppGen() = default;
};
