// PAUSE steps: a message to confirm or a question whose answer passes or
// fails the step, with a time-out that stops the run when nobody answers.

#include "runnerfixture.h"
#include "statusdlg.h"

#include <QApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

namespace {

class PauseTest : public RunnerTest
{
protected:
    // A question (or message) with `timeoutMs` and a sound file, followed by
    // a command that shows whether the run went past the pause.
    SequenceBuilder pauseSequence(const QString &title, const QString &text, int timeoutMs,
                                  bool noIsPass = false)
    {
        SequenceBuilder builder(title);
        HxSequenceItem &pause = builder.operation(ControlOperations::ControlOperation::Pause,
                                                  QStringLiteral("Board seated"));
        pause.pauseMessageText = text;
        pause.columnItem = QStringLiteral("%1,no-such-sound.wav").arg(timeoutMs);
        pause.pauseMessageAnswerNoIsPass = noIsPass;
        builder.command(QStringLiteral("after"), Pass);
        return builder;
    }

    // The operator in front of the real dialogs: presses the first button of
    // the n-th dialog `delays[n]` ms after it showed; counts the dialogs it
    // found still open when its time came.
    struct Operator
    {
        explicit Operator(QList<int> delays) : delays(std::move(delays))
        {
            QObject::connect(&poll, &QTimer::timeout, [this] { look(); });
            poll.start(10);
        }
        void look()
        {
            auto *dialog = qobject_cast<StatusDlg *>(QApplication::activeModalWidget());
            if (dialog != seen) {
                seen = dialog;
                if (dialog)
                    shown.start();
                if (dialog && !delays.isEmpty())
                    due = delays.takeFirst();
                else
                    due = -1;
            }
            if (dialog && due >= 0 && shown.elapsed() >= due) {
                due = -1;
                ++answered;
                dialog->findChildren<QPushButton *>().first()->click();
            }
        }
        QList<int> delays;
        QTimer poll;
        QElapsedTimer shown;
        QPointer<StatusDlg> seen;
        int due = -1;
        int answered = 0;
    };

    QString answerRow(const ORVSequencerMainDialog *window) const
    {
        static const QRegularExpression row(
            QStringLiteral("<td colspan='6'>Board seated -> (.*), [^,]*</td>"));
        return row.match(window->report().reportText()).captured(1);
    }
};

} // namespace

// A short, silent WAV file: 8 kHz, 8 bit, mono.
QByteArray silentWave()
{
    const QByteArray samples(800, char(0x80));
    QByteArray wave;
    QDataStream stream(&wave, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.writeRawData("RIFF", 4);
    stream << quint32(36 + samples.size());
    stream.writeRawData("WAVEfmt ", 8);
    stream << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(8000) << quint16(1)
           << quint16(8);
    stream.writeRawData("data", 4);
    stream << quint32(samples.size());
    stream.writeRawData(samples.constData(), int(samples.size()));
    return wave;
}

TEST_F(PauseTest, AnswersPassOrFailTheStepAndNoCanBeThePassingOne)
{
    // the sound, a file of the project, plays where the machine can play it
    folder.write(QStringLiteral("project/beep.wav"), silentWave());
    const struct
    {
        const char *name;
        bool noIsPass;
        int button;   // 0 Yes, 1 No, -1 none: the time-out runs out
        QStringList statuses;
        const char *answer;
    } cases[] = {
        {"yes", false, 0, {"Passed", "Passed"}, "<font color='#008000'>yes</font>"},
        {"no", false, 1, {"Failed", "Passed"}, "<font color='#FF0000'>no</font>"},
        {"no is pass, no", true, 1, {"Passed", "Passed"}, "<font color='#008000'>no</font>"},
        {"no is pass, yes", true, 0, {"Failed", "Passed"}, "<font color='#FF0000'>yes</font>"},
        // an unanswered question stops the run in front of the next step
        {"nobody", false, -1, {"Timeout", "---"}, "<font color='#000000'>timeout</font>"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SequenceBuilder builder =
            pauseSequence(QLatin1String(c.name), QStringLiteral("Is the board seated?"), 5000, c.noIsPass);
        builder.settings().items().first()->columnItem = QStringLiteral("5000, beep.wav");
        ORVSequencerMainDialog *window = open(builder);
        prompt.answers = {c.button};
        ASSERT_TRUE(run(window));
        EXPECT_EQ(statuses(window), c.statuses);
        EXPECT_EQ(answerRow(window), QLatin1String(c.answer));
        EXPECT_EQ(monitor.runs.last().end, c.button < 0 ? HxiRunMonitor::Stopped : HxiRunMonitor::Completed);
    }
}


TEST_F(PauseTest, ATimeOutClosesOnlyTheDialogThatStartedIt)
{
    // Without a prompt service the real dialogs show and the operator answers them.
    host.setPrompt(nullptr);
    SequenceBuilder pauses(QStringLiteral("Pauses"));
    for (const int timeOut : {300, 0}) {
        HxSequenceItem &pause = pauses.operation(ControlOperations::ControlOperation::Pause);
        pause.pauseMessageText = QStringLiteral("Is the board seated?");
        pause.columnItem = QStringLiteral("%1,").arg(timeOut);
    }
    SequenceBuilder banners(QStringLiteral("Banners"));
    banners.command(QStringLiteral("passes"), Pass);   // its banner closes itself after 2 s
    banners.command(QStringLiteral("fails"), QStringLiteral("exit 1"));
    banners.settings().setStatusBannerApp(true);
    // nobody answers: the question times out and stops the run, the message is confirmed
    SequenceBuilder question = pauseSequence(QStringLiteral("Question"), QStringLiteral("Is the board seated?"), 200);
    SequenceBuilder message = pauseSequence(QStringLiteral("Message"), QStringLiteral("Insert the board."), 200);
    const struct
    {
        SequenceBuilder *builder;
        QList<int> delays;
        QStringList statuses;
        int end;
    } cases[] = {
        {&question, {}, {"Timeout", "---"}, HxiRunMonitor::Stopped},
        {&message, {}, {"Done", "Passed"}, HxiRunMonitor::Completed},
        // the first question is answered at once, the second after the first's time-out
        {&pauses, {0, 700}, {"Passed", "Passed"}, HxiRunMonitor::Completed},
        // the passed banner is confirmed at once, the failed one after the first's 2 s
        {&banners, {0, 2300}, {"Passed", "Failed"}, HxiRunMonitor::Completed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.builder->title().toStdString());
        ORVSequencerMainDialog *window = open(*c.builder);
        Operator person(c.delays);
        ASSERT_TRUE(run(window));
        EXPECT_EQ(person.answered, c.delays.size());
        EXPECT_EQ(statuses(window), c.statuses);
        EXPECT_EQ(monitor.runs.last().end, c.end);
    }
    host.setPrompt(&prompt);
}
