#include "modalanswer.h"
#include "qstringprinter.h"
#include "sampleprojecthost.h"
#include "sequencetitledialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The sample project's two instruments, BCU-1 and BCU-2, and its prompt.
class SequenceTitleDialogTest : public ::testing::Test
{
protected:
    bool okEnabled() const { return child<QPushButton>(dialog.get(), "okButton")->isEnabled(); }
    void typeTitle(const QString &text)
    {
        auto *edit = child<QLineEdit>(dialog.get(), "titleLineEdit");
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    SampleProjectHost sample;
    WorkbenchHost &host = sample.host;
    ScriptedPrompt &prompt = sample.prompt;
    std::unique_ptr<SequenceTitleDialog> dialog =
        std::make_unique<SequenceTitleDialog>(host.link());
};

} // namespace

TEST_F(SequenceTitleDialogTest, ANewTitleMustBeUnusedOnceTrimmed)
{
    dialog->setup({QStringLiteral("Board"), QStringLiteral("Bench")}, QStringLiteral("Sequence 3"),
                  QString(), SequenceTitleDialog::NewSequence);
    EXPECT_TRUE(okEnabled());
    struct Case
    {
        const char *title;
        bool accepted;
    };
    const Case cases[] = {
        {"Board", false}, {"Board ", false}, {"  ", false}, {"", false},
        {"board", true},  {"Boards", true},
    };
    for (const Case &test : cases) {
        typeTitle(QLatin1String(test.title));
        EXPECT_EQ(okEnabled(), test.accepted) << '"' << test.title << '"';
    }
    EXPECT_FALSE(child<QWidget>(dialog.get(), "instrumentSettingsButtonGroup")->isVisibleTo(dialog.get()));
    EXPECT_TRUE(child<QWidget>(dialog.get(), "descriptionLineEdit")->isVisibleTo(dialog.get()));
}

TEST_F(SequenceTitleDialogTest, RenameAndPropertiesTreatTheStartingTitleDifferently)
{
    dialog->setup({QStringLiteral("Board")}, QStringLiteral("Board"), QString(),
                  SequenceTitleDialog::Rename);
    EXPECT_FALSE(okEnabled());
    EXPECT_FALSE(child<QWidget>(dialog.get(), "descriptionLineEdit")->isVisibleTo(dialog.get()));
    typeTitle(QStringLiteral("Board 2"));
    EXPECT_TRUE(okEnabled());

    dialog->setup({QStringLiteral("Board")}, QStringLiteral("Board"), QStringLiteral("old"),
                  SequenceTitleDialog::Properties);
    EXPECT_TRUE(okEnabled());
    EXPECT_FALSE(child<QLineEdit>(dialog.get(), "titleLineEdit")->isEnabled());
    EXPECT_EQ(dialog->description(), QStringLiteral("old"));
}

TEST_F(SequenceTitleDialogTest, ALegacyFileOffersTheInstrumentsOfTheHost)
{
    dialog->setup({}, QStringLiteral("Old Board"), QString(),
                  SequenceTitleDialog::NewFromLegacyFile);
    auto *combo = child<QComboBox>(dialog.get(), "instrumentComboBox");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), QStringLiteral("BCU-2"));
    auto *preferred = child<QRadioButton>(dialog.get(), "preferredInstrumentRadioButton");
    auto *fromFile = child<QRadioButton>(dialog.get(), "sqcFileRadioButton");
    EXPECT_FALSE(preferred->isChecked());
    EXPECT_FALSE(fromFile->isChecked());

    preferred->setChecked(true);
    EXPECT_FALSE(combo->isVisibleTo(dialog.get()));
    EXPECT_FALSE(child<QLabel>(dialog.get(), "instrumentTextLabel")->isVisibleTo(dialog.get()));
    EXPECT_EQ(dialog->instrumentChoice(), QStringLiteral("Preferred"));

    fromFile->setChecked(true);
    EXPECT_TRUE(combo->isVisibleTo(dialog.get()));
    combo->setCurrentIndex(1);
    EXPECT_EQ(dialog->instrumentChoice(), QStringLiteral("BCU-2"));
}

TEST_F(SequenceTitleDialogTest, AHostThatAnswersPromptsAnswersTheDialogToo)
{
    prompt.titleAnswers = {{true, QStringLiteral("From Host"), QStringLiteral("text"),
                            QStringLiteral("BCU-1")},
                           {true, QStringLiteral("   "), QString(), QString()},
                           {true, QStringLiteral("../../x"), QString(), QString()},
                           {false, QString(), QString(), QString()}};
    QString title = QStringLiteral("Proposed");
    QString description;
    QString instrument;
    EXPECT_TRUE(SequenceTitleDialog::ask(host.link(), nullptr, SequenceTitleDialog::NewFromLegacyFile,
                                         {}, title, description, instrument));
    EXPECT_EQ(QStringList({title, description, instrument}), QStringList({"From Host", "text", "BCU-1"}));
    ASSERT_EQ(prompt.titleRequests.size(), 1);
    EXPECT_EQ(prompt.titleRequests.first().title, QStringLiteral("Proposed"));
    EXPECT_EQ(prompt.titleRequests.first().mode, 2);

    // A blank answer, one that breaks the title rule and a cancelled one
    // leave the caller's texts alone; the broken rule is named.
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_FALSE(SequenceTitleDialog::ask(host.link(), nullptr, SequenceTitleDialog::NewSequence,
                                              {}, title, description, instrument));
        EXPECT_EQ(title, QStringLiteral("From Host"));
    }
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_TRUE(prompt.asked.first().text.contains(QLatin1String("\"/\"")));
}

TEST_F(SequenceTitleDialogTest, OkRefusesATitleThatCannotNameAFolderAndSaysWhy)
{
    for (const char *title : {"a/b", "..", " lead"}) {
        dialog->setup({}, QString(), QString(), SequenceTitleDialog::NewSequence);
        typeTitle(QLatin1String(title));
        dialog->setResult(QDialog::Rejected);
        QTest::mouseClick(child<QPushButton>(dialog.get(), "okButton"), Qt::LeftButton);
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << title;
    }
    EXPECT_EQ(prompt.asked.size(), 3);
    typeTitle(QStringLiteral("Board"));
    QTest::mouseClick(child<QPushButton>(dialog.get(), "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}
