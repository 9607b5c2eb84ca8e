#pragma once

#include <QDialog>
#include <QMap>
#include <QStringList>

class QComboBox;

// The reference host's execute settings of one application step: which of
// the application's operations it runs, what it shows and on which
// instrument. Asked for by the sequencer's "Options".
class ExecuteSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    ExecuteSettingsDialog(const QString &application, const QStringList &operations,
                          const QStringList &showOptions, const QStringList &instruments,
                          const QMap<QString, QString> &parameters, QWidget *parent = nullptr);

    // Writes the choices into the step's parameters, leaving the rest alone.
    void storeParameters(QMap<QString, QString> &parameters) const;

private:
    QComboBox *operationBox;
    QComboBox *showBox;
    QComboBox *instrumentBox;
};
