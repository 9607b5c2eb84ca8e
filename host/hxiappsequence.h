#pragma once

#include "hxiexport.h"
#include "hxiunknown.h"

#include <QMap>
#include <QString>

class QObject;
class QWidget;

// Offered by an application-type module (ask with the type's module name as
// provider): the execute settings of its applications and running them.
class HXI_EXPORT HxiAppSequence : public VemoInterface::HxiUnknown
{
public:
    // Defined in the library, so that it exports them.
    HxiAppSequence();
    HxiAppSequence(const HxiAppSequence &);
    HxiAppSequence &operator=(const HxiAppSequence &);

    // slot 3: open execute settings obtained from HxiTypeActions
    virtual bool openSettings(const QString &settingsId) = 0;
    // slot 4: whether the settings hold a list called `listName` ("Oper", "Show")
    virtual bool hasSettingsList(const QString &settingsId, const QString &listName) = 0;
    // slot 5: bring an item's parameters up to date before they are stored
    virtual void prepareParametersForSave(const QString &firstName, const QString &secondName,
                                          bool infrastructureOnly,
                                          QMap<QString, QString> &parameters) = 0;
    // slot 6: complete an item's parameters once its number is set
    virtual void completeParametersForSave(const QString &firstName, const QString &secondName,
                                           bool infrastructureOnly,
                                           QMap<QString, QString> &parameters) = 0;
    // slot 7: connect the job-finished signal (HxmJob*, const QString&, int)
    virtual bool connectJobFinished(QObject *receiver, const char *slot) = 0;
    // slot 8: connect the standard-output signal (HxmJob*, const QString&)
    virtual bool connectStdout(QObject *receiver, const char *slot) = 0;
    // slot 9: connect the standard-error signal (HxmJob*, const QString&)
    virtual bool connectStderr(QObject *receiver, const char *slot) = 0;
    // slot 10: load the settings' lists for one item
    virtual bool loadSettings(const QString &settingsId, bool infrastructureOnly,
                              QMap<QString, QString> &parameters) = 0;
    // slot 11: the number of entries of a settings list
    virtual int settingsListCount(const QString &settingsId, const QString &listName) = 0;
    // slot 12: one entry of a settings list
    virtual QString settingsListEntry(const QString &settingsId, const QString &listName,
                                      int index) = 0;
    // slot 13: let the user edit the execute settings into `parameters`
    virtual bool editSettings(const QString &settingsId, QWidget *parent,
                              QMap<QString, QString> &parameters) = 0;
    // slot 14: run `application`; non-zero when the job was started
    virtual int execute(const QString &application, const QMap<QString, QString> &parameters,
                        bool infrastructureOnly) = 0;
    // slot 15: where the next run of `application` puts its results, and
    // which of them it copies (0 none, 1 on pass, 2 on fail, 3 both)
    virtual void setResultsDirectory(const QString &application, const QString &directory,
                                     int copyMode) = 0;

protected:
    ~HxiAppSequence() = default;
};
