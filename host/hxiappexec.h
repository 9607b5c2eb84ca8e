#pragma once

#include "hxiexport.h"
#include "hxiunknown.h"

#include <QMap>
#include <QString>

// Offered by application-type modules that run applications outside a
// sequence. The sequencer never calls it; it exports the class so that
// modules built against the sequencer can implement it.
class HXI_EXPORT HxiAppExec : public VemoInterface::HxiUnknown
{
public:
    // Defined in the library, so that it exports them.
    HxiAppExec();
    HxiAppExec(const HxiAppExec &);
    HxiAppExec &operator=(const HxiAppExec &);

    // slot 3: run `application`; non-zero when started
    virtual int execute(const QString &application, const QMap<QString, QString> &parameters) = 0;
    // slot 4: stop the running job of `application`
    virtual void cancel(const QString &application) = 0;
    // slot 5: whether a job of `application` is running
    virtual bool isRunning(const QString &application) = 0;
    // slot 6: the exit code of the last job of `application`
    virtual int lastExitCode(const QString &application) = 0;
    // slot 7: the result directory of the last job of `application`
    virtual QString lastResultDirectory(const QString &application) = 0;

protected:
    ~HxiAppExec() = default;
};
