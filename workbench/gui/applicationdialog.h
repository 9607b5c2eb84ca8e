#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;

// A project application's name, type, program, folder and TAP connectors,
// for a new application (any type) or an existing one (its type stays).
class ApplicationDialog : public QDialog
{
    Q_OBJECT

public:
    struct Fields
    {
        QString name;
        QString type;
        QString program;
        QString folder;
        QStringList taps;
    };

    ApplicationDialog(const Fields &fields, bool isNew, QWidget *parent = nullptr);

    Fields fields() const;

private:
    QLineEdit *nameEdit;
    QComboBox *typeBox;
    QLineEdit *programEdit;
    QLineEdit *folderEdit;
    QLineEdit *tapsEdit;
};
