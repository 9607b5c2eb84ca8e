#pragma once

#include "hxsequenceitem.h"
#include "message.h"

#include <QObject>

#include <functional>

// A stored sequence: its steps and its run settings. Copies share the steps.
class HxSequence : public QObject
{
    Q_OBJECT

public:
    HxSequence(const QString &title, const QString &description,
               const HxSequenceItemList &items = {});
    HxSequence(const HxSequence &other);
    HxSequence &operator=(const HxSequence &other);

    int executeMode() const { return executeModeValue; }
    void setExecuteMode(int mode) { executeModeValue = mode; }
    bool repeat() const { return repeatFlag; }
    void setRepeat(bool on) { repeatFlag = on; }
    int repeatCount() const { return repeatCountValue; }
    void setRepeatCount(int count) { repeatCountValue = count; }
    bool globalGang() const { return globalGangFlag; }
    void setGlobalGang(bool on) { globalGangFlag = on; }
    bool statusBannerSequence() const { return statusBannerSequenceFlag; }
    void setStatusBannerSequence(bool on) { statusBannerSequenceFlag = on; }
    bool statusBannerApp() const { return statusBannerAppFlag; }
    void setStatusBannerApp(bool on) { statusBannerAppFlag = on; }
    bool unitIdentification() const { return unitIdentificationFlag; }
    void setUnitIdentification(bool on) { unitIdentificationFlag = on; }
    QString unitSerialNumber() const { return unitSerialNumberText; }
    void setUnitSerialNumber(const QString &text) { unitSerialNumberText = text; }
    QString unitFolder() const { return unitFolderText; }
    void setUnitFolder(const QString &text) { unitFolderText = text; }
    QString unitSubDirMask() const { return unitSubDirMaskText; }
    void setUnitSubDirMask(const QString &text) { unitSubDirMaskText = text; }
    bool unitSerialNumberAutoIncrement() const { return unitSerialNumberAutoIncrementFlag; }
    void setUnitSerialNumberAutoIncrement(bool on) { unitSerialNumberAutoIncrementFlag = on; }
    bool unitSerialNumberManualAdjust() const { return unitSerialNumberManualAdjustFlag; }
    void setUnitSerialNumberManualAdjust(bool on) { unitSerialNumberManualAdjustFlag = on; }
    bool unitAutoPrompt() const { return unitAutoPromptFlag; }
    void setUnitAutoPrompt(bool on) { unitAutoPromptFlag = on; }
    bool unitSubDirAutoIncrement() const { return unitSubDirAutoIncrementFlag; }
    void setUnitSubDirAutoIncrement(bool on) { unitSubDirAutoIncrementFlag = on; }
    bool unitSubDirManualAdjust() const { return unitSubDirManualAdjustFlag; }
    void setUnitSubDirManualAdjust(bool on) { unitSubDirManualAdjustFlag = on; }
    bool unitSubDirIsSerialNumber() const { return unitSubDirIsSerialNumberFlag; }
    void setUnitSubDirIsSerialNumber(bool on) { unitSubDirIsSerialNumberFlag = on; }
    QString title() const { return titleText; }
    void setTitle(const QString &text) { titleText = text; }
    QString description() const { return descriptionText; }
    void setDescription(const QString &text) { descriptionText = text; }

    const HxSequenceItemList &items() const
    {
        if (pendingSteps)
            readPendingSteps();
        return itemList;
    }
    void setItems(const HxSequenceItemList &items)
    {
        pendingSteps = nullptr;
        itemList = items;
    }
    void appendItem(const HxSequenceItemPtr &item)
    {
        items();
        itemList.append(item);
    }

    // Steps read only when first asked for: a project opened to list its
    // sequences, or to run one, never builds the steps of the others.
    using StepReader = std::function<HxSequenceItemList()>;
    void setPendingSteps(StepReader reader) { pendingSteps = std::move(reader); }

Q_SIGNALS:
    void message(const Message &message);

private:
    void copyFields(const HxSequence &other);
    void readPendingSteps() const;

    int executeModeValue = 0;
    bool repeatFlag = false;
    int repeatCountValue = 0;
    bool globalGangFlag = false;
    bool statusBannerSequenceFlag = false;
    bool statusBannerAppFlag = false;
    bool unitIdentificationFlag = false;
    QString unitSerialNumberText;
    QString unitFolderText;
    QString unitSubDirMaskText;
    bool unitSerialNumberAutoIncrementFlag = false;
    bool unitSerialNumberManualAdjustFlag = false;
    bool unitAutoPromptFlag = false;
    bool unitSubDirAutoIncrementFlag = false;
    bool unitSubDirManualAdjustFlag = false;
    bool unitSubDirIsSerialNumberFlag = false;
    QString titleText;
    QString descriptionText;
    mutable HxSequenceItemList itemList;
    mutable StepReader pendingSteps;
};
