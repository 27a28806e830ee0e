// Message boxes and file dialogs as the user sees them.
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include "app/qt_prompts.h"
#include "app/qt_translations.h"

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

    void qtOwnTextsAreJapaneseForAJapaneseUser() {
        QVERIFY(!install_qt_translations(*QCoreApplication::instance(), Language::english));
        QTranslator* japanese =
            install_qt_translations(*QCoreApplication::instance(), Language::japanese);
        QVERIFY(japanese);

        const auto question =
            make_message_box(Language::japanese, MessageId::confirm_batch, nullptr);
        QCOMPARE(question->button(QMessageBox::Yes)->text(), QString::fromUtf8("はい(&Y)"));
        QCOMPARE(question->button(QMessageBox::No)->text(), QString::fromUtf8("いいえ(&N)"));
        const auto error = make_message_box(Language::japanese, MessageId::read_failed, nullptr);
        QCOMPARE(error->button(QMessageBox::Ok)->text(), QString::fromUtf8("OK"));

        QTemporaryDir folder;
        QFileDialog open;
        set_up_open_dialog(open, folder.path().toStdString());
        QCOMPARE(open.labelText(QFileDialog::LookIn), QString::fromUtf8("アドレス:"));
        QCOMPARE(open.labelText(QFileDialog::FileName), QString::fromUtf8("ファイル名(&N):"));
        QCOMPARE(open.labelText(QFileDialog::Accept), QString::fromUtf8("開く(&O)"));
        QCOMPARE(open.labelText(QFileDialog::Reject), QString::fromUtf8("キャンセル"));
        QFileDialog save;
        set_up_save_dialog(save, folder.path().toStdString(), "clip.mtv");
        QCOMPARE(save.labelText(QFileDialog::Accept), QString::fromUtf8("保存(&S)"));

        QCoreApplication::removeTranslator(japanese);
        delete japanese;
    }
};

}  // namespace quarnel

QTEST_MAIN(quarnel::QtPromptsTest)
#include "qt_prompts_test.moc"
