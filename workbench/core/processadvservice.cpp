#include "processadvservice.h"

#include <QFileDialog>

bool ProcessAdvService::chooseFolder(QWidget *parent, const QString &startFolder, QString &folder,
                                     const QString &caption)
{
    const QString chosen = QFileDialog::getExistingDirectory(parent, caption, startFolder);
    if (chosen.isEmpty())
        return false;
    folder = chosen;
    return true;
}
