// Message boxes and file dialogs as the user sees them.
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qt_prompts.h"

namespace quarnel {

class QtPromptsTest : public QObject {
    Q_OBJECT

  private slots:
    void errorsAreStopBoxesWithOneOkButton() {
        for (MessageId id :
             {MessageId::read_failed, MessageId::name_empty, MessageId::save_failed}) {
            const auto box = make_message_box(Language::english, id, nullptr);
            QCOMPARE(box->windowTitle(), QString("Quarnel"));
            QCOMPARE(box->icon(), QMessageBox::Critical);
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        }
    }

    void batchQuestionHasYesAndNoAndKeepsItsLines() {
        const auto box = make_message_box(Language::japanese, MessageId::confirm_batch, nullptr);
        QCOMPARE(box->windowTitle(), QString("Quarnel"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->text().count('\n'), 2);
        QVERIFY(box->text().startsWith(QString::fromUtf8("複数のファイルがドロップされました。")));
    }

    void messagesFollowTheLanguage() {
        QCOMPARE(make_message_box(Language::japanese, MessageId::read_failed, nullptr)->text(),
                 QString::fromUtf8("MPEG2情報の取得に失敗しました"));
        QCOMPARE(make_message_box(Language::english, MessageId::read_failed, nullptr)->text(),
                 QString("getting MPEG2 information failed."));
    }

    void fileDialogFiltersKeepTheirNamesAndMatchTheirExtensions() {
        QCOMPARE(qt_name_filters(mpeg_filters),
                 QStringList({"MPEG Video(*.m2p,*.mp2,*.mpeg,*.mpg) (*.m2p *.mp2 *.mpeg *.mpg)",
                              "All File(*.*) (*)"}));
        QCOMPARE(qt_name_filters(mtv_filters), QStringList({"MTV File(*.mtv) (*.mtv)"}));
    }

    void openDialogAsksForAnExistingMpegFileInTheGivenFolder() {
        QTemporaryDir folder;
        QFileDialog dialog;
        set_up_open_dialog(dialog, folder.path().toStdString());
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog.nameFilters(), qt_name_filters(mpeg_filters));
        QCOMPARE(dialog.defaultSuffix(), QString("m2p"));
        QCOMPARE(dialog.directory().absolutePath(), folder.path());
    }

    void saveDialogProposesTheNameAndAsksBeforeReplacing() {
        QTemporaryDir folder;
        QFileDialog dialog;
        set_up_save_dialog(dialog, folder.path().toStdString(), "clip.mtv");
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(dialog.nameFilters(), QStringList({"MTV File(*.mtv) (*.mtv)"}));
        QCOMPARE(dialog.defaultSuffix(), QString("mtv"));
        QCOMPARE(dialog.directory().absolutePath(), folder.path());
        QCOMPARE(dialog.selectedFiles().value(0), folder.path() + "/clip.mtv");
    }
};

}  // namespace quarnel

QTEST_MAIN(quarnel::QtPromptsTest)
#include "qt_prompts_test.moc"
