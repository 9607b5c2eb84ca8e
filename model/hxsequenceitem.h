#pragma once

#include "sequencecommand.h"
#include "sequenceenums.h"

#include <QList>
#include <QMap>
#include <QString>

#include <memory>

// One stored step of a sequence. A plain record: the sequencer window turns
// it into a row of its list and back.
class HxSequenceItem
{
public:
    QString commandEx;          // PAUSE: "<time-out>,<sound file>"
    int condition = 0;
    int timeOut = 0;            // PAUSE: time-out of the question
    int count = 0;              // cycle in which the step last ran
    int exitCode = 0;
    int status = 0;             // a StepStatus code
    int type = 0;               // operation steps: the control operation code; -1 otherwise
    int applicationClass = 0;   // derived from columnType and columnOperation
    bool globalGang = false;
    int hostStatusId = 0;
    QString hostStatusText;
    QString columnNumber;
    QString columnType;
    QString columnOperation;
    QString columnProperty;
    QString columnItem;
    QString columnShow;
    QString columnStatus;
    int itemType = 0;           // an ItemType code
    QString operationItemId;
    SequenceCommand command;
    QString pauseMessageText;
    int pauseMessageDefaultAnswer = 0;   // 0 yes, 1 no
    bool pauseMessageAnswerNoIsPass = false;
    bool addToReport = false;
    QString passAction;
    QString failAction;
    QString rejectAction;
    QString systemErrorAction;
    bool saveResultsOnFail = false;
    bool saveResultsOnPass = false;
    QString propertiesOperation;
    QString propertiesShow;
    bool statusToSequenceStatus = false;
    QMap<QString, QString> parameters;   // execution parameters, sorted by key

    ItemType kind() const { return static_cast<ItemType>(itemType); }

    bool operator==(const HxSequenceItem &other) const = default;
};

// Copies of a sequence share their steps, so steps are held by shared pointers.
using HxSequenceItemPtr = std::shared_ptr<HxSequenceItem>;
using HxSequenceItemList = QList<HxSequenceItemPtr>;
