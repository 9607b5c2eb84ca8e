#pragma once

#include "hxsequenceitem.h"
#include "sequencecommand.h"

#include <QColor>
#include <QIcon>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTreeWidgetItem>

#include <memory>

// One step of a sequence as a row of the sequence list. The row carries the
// stored step's fields live, and its seven column texts are the step's
// column texts, so the runner and the editor work on the row itself.
class SequenceElementItem : public QTreeWidgetItem
{
public:
    enum Column : int {
        NumberColumn = 0,      // "Nr.": 1-based step number
        TypeColumn = 1,        // "Ctrl", "Sys" or the application type, with its icon
        OperationColumn = 2,   // keyword, "Execute Command" or the application's operation
        PropertyColumn = 3,    // condition, label, instrument or pause summary
        ItemColumn = 4,        // application or command name, or the operation's item text
        ShowColumn = 5,
        StatusColumn = 6,
    };
    static constexpr int ColumnCount = 7;

    // The QTreeWidgetItem types the rows are created with.
    enum RowType : int {
        ElementRow = QTreeWidgetItem::UserType,
        ApplicationRow,
        OperationRow,
        CommandRow,
    };

    explicit SequenceElementItem(int rowType = ElementRow);
    ~SequenceElementItem() override;

    // -1 for every step that is not an operation step.
    virtual int operationKind() const;
    // Empty for every step that is not a command step.
    virtual SequenceCommand sequenceCommand() const;
    // The stored step kind (an ItemType code); 0 for a row without a kind.
    virtual int itemType() const;

    QString statusText() const { return text(StatusColumn); }
    // The status cell's colour follows its text whichever way the text is
    // set; this is the readable way to set it.
    void setStatusText(const QString &statusText) { setText(StatusColumn, statusText); }
    // The background of a status text in this class's rows; an invalid
    // colour leaves the cell in the list's normal colours.
    virtual QColor statusColour(const QString &statusText) const;
    QVariant data(int column, int role) const override;

    // The stored form of the step. The kind, the operation kind and the
    // application class come from the row's class and columns, never from
    // what was loaded.
    HxSequenceItem toStoredItem() const;
    // Takes over every field and column of a stored step.
    virtual void assignStoredItem(const HxSequenceItem &stored);
    // A row of the class the stored step's kind asks for, filled from it;
    // null for a step without a kind.
    static std::unique_ptr<SequenceElementItem> createFor(const HxSequenceItem &stored);

    // One of the plug-in's images by file name; a null icon for no name.
    static QIcon imageIcon(const QString &fileName);

    bool globalGang = false;
    QString commandEx;                  // PAUSE: "<time-out>,<sound file>"
    int condition = 0;
    int timeOut = 0;                    // PAUSE: time-out of the question in ms
    int count = 0;                      // cycle in which the step last ran
    int exitCode = 0;
    int status = 0;                     // a StepStatus code
    QString operationItemId;            // operation steps: the palette name that made them
    int hostStatusId = 0;
    QString hostStatusText;
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
    QString pauseMessageText;
    int pauseMessageDefaultAnswer = 0;  // 0 yes, 1 no
    bool pauseMessageAnswerNoIsPass = false;
    QMap<QString, QString> parameters;  // execution parameters
    int applicationClass = 0;           // follows the Type and Operation columns

    QString stepName;                   // application or command name, or the keyword
    QString creationNumber;             // the row count when the step was made
    QStringList operationList;          // operations an application step may choose
    QStringList showList;               // show options an application step may choose
};
