#pragma once

#include "hostlink.h"

#include <QString>

class HxSequence;
class ORVSequencerMainDialog;
class QObject;
class RunStamp;
class SequencerSettings;

// What a sequencer window needs of the plug-in that owns it: the host, the
// settings, the one run that may be active, the log and the report history.
class RunWindowHost
{
public:
    virtual ~RunWindowHost() = default;

    virtual HostLink hostLink() const = 0;
    virtual const SequencerSettings &sequencerSettings() const = 0;
    virtual ORVSequencerMainDialog *runningWindow() const = 0;
    virtual void setRunningWindow(ORVSequencerMainDialog *window) = 0;
    virtual HxSequence *findSequence(const QString &title) const = 0;
    // the object whose slots receive the end and output of host jobs
    virtual QObject *jobReceiver() = 0;
    // connects the application-sequence service of `provider` to the job slots
    virtual void connectApplicationSignals(const QString &action, const QString &provider) = 0;
    virtual void logMessage(const QString &text) const = 0;
    virtual void registerReport(const QString &sequenceTitle, const QString &fileName,
                                const RunStamp &stamp) = 0;
    // the live report of the running sequence
    virtual void showLiveReport(const QString &sequenceTitle, const QString &html) = 0;
    // text appended to the live report of the running sequence
    virtual void appendLiveReport(const QString &sequenceTitle, const QString &html) = 0;
    // the host's enablement of the run actions may have changed
    virtual void runStateChanged() = 0;
};
