#include "hxsequence.h"

HxSequence::HxSequence(const QString &title, const QString &description,
                       const HxSequenceItemList &items)
    : titleText(title), descriptionText(description), itemList(items)
{
}

HxSequence::HxSequence(const HxSequence &other) : QObject()
{
    copyFields(other);
}

HxSequence &HxSequence::operator=(const HxSequence &other)
{
    if (this != &other)
        copyFields(other);
    return *this;
}

void HxSequence::copyFields(const HxSequence &other)
{
    executeModeValue = other.executeModeValue;
    repeatFlag = other.repeatFlag;
    repeatCountValue = other.repeatCountValue;
    globalGangFlag = other.globalGangFlag;
    statusBannerSequenceFlag = other.statusBannerSequenceFlag;
    statusBannerAppFlag = other.statusBannerAppFlag;
    unitIdentificationFlag = other.unitIdentificationFlag;
    unitSerialNumberText = other.unitSerialNumberText;
    unitFolderText = other.unitFolderText;
    unitSubDirMaskText = other.unitSubDirMaskText;
    unitSerialNumberAutoIncrementFlag = other.unitSerialNumberAutoIncrementFlag;
    unitSerialNumberManualAdjustFlag = other.unitSerialNumberManualAdjustFlag;
    unitAutoPromptFlag = other.unitAutoPromptFlag;
    unitSubDirAutoIncrementFlag = other.unitSubDirAutoIncrementFlag;
    unitSubDirManualAdjustFlag = other.unitSubDirManualAdjustFlag;
    unitSubDirIsSerialNumberFlag = other.unitSubDirIsSerialNumberFlag;
    titleText = other.titleText;
    descriptionText = other.descriptionText;
    // copies share their steps, so they are read before they are shared
    itemList = other.items();
    pendingSteps = nullptr;
}

void HxSequence::readPendingSteps() const
{
    const StepReader reader = std::move(pendingSteps);
    pendingSteps = nullptr;
    itemList = reader();
}
