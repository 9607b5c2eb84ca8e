#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

// The console output of the step that runs, as report HTML. The whole of it
// goes to a file as it comes and is never held in memory; what stays in
// memory is a bounded head and tail for the report itself.
class StepOutput
{
public:
    static constexpr int HeadLines = 100;
    static constexpr int TailLines = 100;
    // a kept line longer than this is cut in the report (never in the file)
    static constexpr int LongestKeptLine = 2000;

    StepOutput() = default;
    ~StepOutput();
    StepOutput(const StepOutput &) = delete;
    StepOutput &operator=(const StepOutput &) = delete;

    // Forgets the output; a file that was never filed is removed.
    void clear();
    // Whether the next line needs to be told where its file goes.
    bool needsFolder() const { return lines == 0 && !file; }
    // The folder the output streams to, in a file of its own (starting with
    // `fileHead`) until it is filed; empty keeps only the head and tail.
    void setFolder(const QString &folder, const QString &fileHead);
    // one line of HTML, with its line break
    void append(const QString &html);

    bool isEmpty() const { return lines == 0; }
    qint64 lineCount() const { return lines; }
    // Ends the file and gives it its name; false when there is no file or it
    // cannot be renamed (the excerpt is then all that is left).
    [[nodiscard]] bool fileAs(const QString &path, const QString &fileTail);
    // The head, a line saying how much was left out and where the whole is
    // (`wholeLink`), and the tail; all of it when nothing was left out.
    QString excerpt(const QString &wholeLink) const;

private:
    std::unique_ptr<QFile> file;
    QStringList head;
    QStringList tail;   // the last lines, oldest first
    qint64 lines = 0;
};
