#include "stepoutput.h"

#include <QDir>

namespace {

// The name the output has while the step runs; the step's own name comes
// when it is filed.
const QString RunningName = QStringLiteral("Output-in-progress.html");

QString kept(const QString &html)
{
    return html.size() > StepOutput::LongestKeptLine
               ? html.left(StepOutput::LongestKeptLine) + QStringLiteral("...<br>\r\n")
               : html;
}

} // namespace

StepOutput::~StepOutput()
{
    clear();
}

void StepOutput::clear()
{
    if (file) {
        file->close();
        file->remove();
        file.reset();
    }
    head.clear();
    tail.clear();
    lines = 0;
}

void StepOutput::setFolder(const QString &folder, const QString &fileHead)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    auto stream = std::make_unique<QFile>(QDir(folder).filePath(RunningName));
    if (!stream->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    stream->write(fileHead.toUtf8());
    file = std::move(stream);
}

void StepOutput::append(const QString &html)
{
    if (file)
        file->write(html.toUtf8());
    ++lines;
    if (head.size() < HeadLines) {
        head.append(kept(html));
        return;
    }
    tail.append(kept(html));
    if (tail.size() > TailLines)
        tail.removeFirst();
}

bool StepOutput::fileAs(const QString &path, const QString &fileTail)
{
    if (!file)
        return false;
    file->write(fileTail.toUtf8());
    const bool written = file->flush() && file->error() == QFileDevice::NoError;
    file->close();
    QFile::remove(path);
    const bool renamed = written && file->rename(path);
    if (!renamed)
        file->remove();
    file.reset();
    return renamed;
}

QString StepOutput::excerpt(const QString &wholeLink) const
{
    QString text = head.join(QString());
    const qint64 leftOut = lines - head.size() - tail.size();
    if (leftOut > 0) {
        //: %1 = number of lines left out, %2 = all lines, %3 = link to the whole output
        text += QStringLiteral("<font color='gray'>[... %1 of %2 lines left out here; the whole "
                               "output is in %3 ...]</font><br>\r\n")
                    .arg(leftOut)
                    .arg(lines)
                    .arg(wholeLink);
    }
    return text + tail.join(QString());
}
