// The main dialog: what it shows at start, the video system lists, opening and saving.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "dialog_test_support.h"

namespace quarnel {

class MainDialogTest : public QObject {
    Q_OBJECT

    static QStringList entries(const QComboBox* list) {
        QStringList result;
        for (int i = 0; i < list->count(); ++i) result << list->itemText(i);
        return result;
    }

    static void verify_start_values(const DialogHarness& h) {
        QCOMPARE(h.text(ControlId::name), QString());
        QCOMPARE(h.text(ControlId::year), QString("2002"));
        QCOMPARE(h.text(ControlId::month), QString("  12"));
        QCOMPARE(h.text(ControlId::day), QString("  19"));
        QCOMPARE(h.text(ControlId::hour), QString("  18"));
        QCOMPARE(h.text(ControlId::minute), QString("  30"));
        QCOMPARE(h.text(ControlId::second), QString("   0"));
        QVERIFY(h.get<QRadioButton>(ControlId::ntsc)->isChecked());
        QVERIFY(!h.get<QRadioButton>(ControlId::pal)->isChecked());
        QCOMPARE(h.selected(ControlId::resolution), QString("720x480"));
        QCOMPARE(h.selected(ControlId::rate_control), QString("CBR"));
        QCOMPARE(h.text(ControlId::video_bit_rate), QString("6500000"));
        QCOMPARE(h.selected(ControlId::aspect), QString("4:3"));
        QCOMPARE(h.selected(ControlId::audio_bit_rate), QString("224"));
        QCOMPARE(h.selected(ControlId::sampling), QString("48000"));
        QVERIFY(!h.get<QCheckBox>(ControlId::ac3)->isChecked());
        QVERIFY(h.get<QCheckBox>(ControlId::video_auto)->isChecked());
        QVERIFY(!h.get<QCheckBox>(ControlId::audio_auto)->isChecked());
    }

  private slots:
    void startsWithTheDefaultHeaderInEnglish() {
        DialogHarness h(Language::english);
        verify_start_values(h);
        QCOMPARE(h.dialog->windowTitle(), QString("Quarnel"));
        QVERIFY(!h.dialog->windowIcon().isNull());
        QCOMPARE(h.get<QPushButton>(ControlId::open)->text(), QString("Open(&O)"));
        QCOMPARE(h.get<QPushButton>(ControlId::save)->text(), QString("Save MTV"));
        QVERIFY(h.get<QPushButton>(ControlId::save)->isDefault());
        QCOMPARE(h.get<QCheckBox>(ControlId::video_auto)->text(), QString("AUTO(&V)"));
        QVERIFY(!h.text(ControlId::file_size).isEmpty());
    }

    void startsWithTheDefaultHeaderInJapanese() {
        DialogHarness h(Language::japanese);
        verify_start_values(h);
        QCOMPARE(h.dialog->windowTitle(), QString("Quarnel"));
        QCOMPARE(h.get<QPushButton>(ControlId::open)->text(), QString::fromUtf8("開く(&O)"));
        QCOMPARE(h.get<QPushButton>(ControlId::cancel)->text(), QString::fromUtf8("キャンセル"));
        QCOMPARE(h.get<QCheckBox>(ControlId::audio_auto)->text(),
                 QString::fromUtf8("音声自動認識(&A)"));
    }

    void listsHoldTheFixedEntries() {
        DialogHarness h;
        QCOMPARE(entries(h.get<QComboBox>(ControlId::rate_control)), QStringList({"CBR", "VBR"}));
        QCOMPARE(entries(h.get<QComboBox>(ControlId::aspect)), QStringList({"4:3", "16:9"}));
        QCOMPARE(entries(h.get<QComboBox>(ControlId::sampling)),
                 QStringList({"48000", "44100", "32000"}));
        const QStringList rates = entries(h.get<QComboBox>(ControlId::audio_bit_rate));
        QCOMPARE(rates.size(), 16);
        QCOMPARE(rates.front(), QString("56"));
        QCOMPARE(rates.back(), QString("unknown"));
        QCOMPARE(entries(h.get<QComboBox>(ControlId::resolution)),
                 QStringList({"720x480", "704x480", "352x480", "352x240", "544x480", "480x480"}));
        QVERIFY(!h.get<QComboBox>(ControlId::resolution)->isEditable());
        QCOMPARE(h.dialog->controller().lastDirectory(), QDir::currentPath().toStdString());
    }

    void palRefillsTheListAndResetsAnIndexPastItsEnd() {
        DialogHarness h;
        const std::string square = h.make_file("square.m2p");
        h.reader.video[square] = [](MtvHeader& header) { header.SetResolutionIndex(5); };
        h.prompts.open_answers.push_back(square);
        h.click(ControlId::open);
        QCOMPARE(h.selected(ControlId::resolution), QString("480x480"));

        h.click(ControlId::pal);
        QCOMPARE(entries(h.get<QComboBox>(ControlId::resolution)),
                 QStringList({"720x576", "704x576", "352x576", "352x288"}));
        QCOMPARE(h.selected(ControlId::resolution), QString("720x576"));
        QCOMPARE(h.dialog->controller().header().GetVideoSystem(), 1);
        QCOMPARE(h.dialog->controller().header().GetResolutionIndex(), 0);

        h.click(ControlId::ntsc);
        QCOMPARE(h.selected(ControlId::resolution), QString("720x480"));
        QCOMPARE(h.dialog->controller().header().GetResolutionIndex(), 0);
    }

    void aResolutionPickedButNotSavedIsLostOnASystemClick() {
        DialogHarness h;
        h.get<QComboBox>(ControlId::resolution)->setCurrentIndex(3);
        h.click(ControlId::ntsc);
        QCOMPARE(h.selected(ControlId::resolution), QString("720x480"));
    }

    void aspectListIsDisabledUnderPalButStillSaved() {
        DialogHarness h;
        h.get<QComboBox>(ControlId::aspect)->setCurrentIndex(1);
        h.click(ControlId::pal);
        QVERIFY(!h.get<QComboBox>(ControlId::aspect)->isEnabled());
        QCOMPARE(h.selected(ControlId::aspect), QString("16:9"));

        h.type(ControlId::name, "clip.m2p");
        h.prompts.save_answers.push_back(h.folder("clip.mtv"));
        h.click(ControlId::save);
        const auto bytes = file_bytes(h.folder("clip.mtv"));
        QCOMPARE(bytes.size(), std::size_t{568});
        QCOMPARE(int(bytes[521]), 1);  // PAL
        QCOMPARE(int(bytes[522]), 1);  // 16:9

        h.click(ControlId::ntsc);
        QVERIFY(h.get<QComboBox>(ControlId::aspect)->isEnabled());
    }

    void bitRateTextSavesItsLeadingNumber() {
        DialogHarness h;
        h.type(ControlId::name, "clip.m2p");
        const auto saved_rate = [&h](const QString& text) {
            h.type(ControlId::video_bit_rate, text);
            h.prompts.save_answers.push_back(h.folder("rate.mtv"));
            h.click(ControlId::save);
            const auto b = file_bytes(h.folder("rate.mtv"));
            return b.size() == 568 ? b[528] | b[529] << 8 | b[530] << 16 | b[531] << 24 : -1;
        };
        QCOMPARE(saved_rate("8M"), 8);
        QCOMPARE(saved_rate(""), 0);
        QCOMPARE(saved_rate("15000000"), 15000000);
    }

    void savingWithAnEmptyNameAsksForNothingAndShows135() {
        DialogHarness h;
        h.click(ControlId::save);
        QCOMPARE(h.prompts.shown, std::vector<MessageId>{MessageId::name_empty});
        QVERIFY(h.prompts.save_requests.empty());
    }

    void saveProposesTheTitleAndAddsMtvToATypedName() {
        DialogHarness h;
        h.type(ControlId::name, "a.b.mpg");
        h.prompts.save_answers.push_back(h.folder("take1"));
        h.click(ControlId::save);
        QCOMPARE(h.prompts.save_requests.size(), std::size_t{1});
        QCOMPARE(h.prompts.save_requests[0].name, std::string("a.b.mtv"));
        QCOMPARE(h.prompts.save_requests[0].folder, QDir::currentPath().toStdString());
        QCOMPARE(file_bytes(h.folder("take1.mtv")).size(), std::size_t{568});
        QVERIFY(h.prompts.shown.empty());
    }

    void aSaveThatCannotBeWrittenShows137() {
        DialogHarness h;
        h.type(ControlId::name, "clip.m2p");
        h.prompts.save_answers.push_back(h.folder("missing/clip.mtv"));
        h.click(ControlId::save);
        QCOMPARE(h.prompts.shown, std::vector<MessageId>{MessageId::save_failed});
    }

    void cancelledSaveWritesNothing() {
        DialogHarness h;
        h.type(ControlId::name, "clip.m2p");
        h.click(ControlId::save);  // no answer queued: the dialog is cancelled
        QVERIFY(h.prompts.shown.empty());
        QVERIFY(QDir(h.temp.path()).isEmpty());
    }

    void openShowsTheFileAndMovesTheFolder() {
        DialogHarness h;
        const std::string clip = h.make_file("clip.m2p", 4096);
        h.prompts.open_answers.push_back(clip);
        h.click(ControlId::open);
        QCOMPARE(h.text(ControlId::name), QString("clip.m2p"));
        QCOMPARE(h.dialog->controller().lastDirectory(), h.folder());
        QCOMPARE(h.dialog->controller().header().GetFileSize(), 4096u);

        h.prompts.open_answers.push_back(h.folder("gone.m2p"));
        h.click(ControlId::open);
        QCOMPARE(h.prompts.shown, std::vector<MessageId>{MessageId::read_failed});
        QCOMPARE(h.text(ControlId::name), QString("clip.m2p"));
        QCOMPARE(h.prompts.open_folders.back(), h.folder());
    }

    void aFailedReadLeavesTheHeaderAsTheDialogShowsIt() {
        DialogHarness h;
        const std::string clip = h.make_file("clip.m2p", 4096);
        const std::string notes = h.make_file("notes.txt", 77);
        h.reader.not_mpeg.insert(notes);
        h.prompts.open_answers = {clip, notes};
        h.click(ControlId::open);
        h.click(ControlId::open);
        QCOMPARE(h.prompts.shown, std::vector<MessageId>{MessageId::read_failed});

        h.prompts.save_answers.push_back(h.folder("clip.mtv"));
        h.click(ControlId::save);
        const auto bytes = file_bytes(h.folder("clip.mtv"));
        QCOMPARE(bytes.size(), std::size_t{568});
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&bytes[48])), QByteArray("clip.m2p"));
        QCOMPARE(bytes[304] | bytes[305] << 8, 4096);
    }

    void openingWithoutAutoDetectionKeepsTheGroupsOnScreen() {
        DialogHarness h;
        const std::string clip = h.make_file("clip.m2p");
        h.reader.video[clip] = [](MtvHeader& header) { header.SetVideoBitRate(9000000); };
        h.get<QCheckBox>(ControlId::video_auto)->setChecked(false);
        h.type(ControlId::video_bit_rate, "123");
        h.prompts.open_answers.push_back(clip);
        h.click(ControlId::open);
        QCOMPARE(h.text(ControlId::name), QString("clip.m2p"));
        QCOMPARE(h.text(ControlId::video_bit_rate), QString("123"));
    }

    void ac3BoxWritesTheHeaderAtOnce() {
        DialogHarness h;
        h.click(ControlId::ac3);
        QCOMPARE(h.dialog->controller().header().GetAudioCoding(), 0);
        h.click(ControlId::ac3);
        QCOMPARE(h.dialog->controller().header().GetAudioCoding(), 2);
    }
};

}  // namespace quarnel

QTEST_MAIN(quarnel::MainDialogTest)
#include "main_dialog_test.moc"
