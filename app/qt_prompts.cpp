#include "app/qt_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "app/qt_text.h"

namespace quarnel {
namespace {

std::optional<std::string> run_file_dialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return to_local_path(dialog.selectedFiles().front());
}

}  // namespace

QString from_local_path(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

std::string to_local_path(const QString& path) {
    return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString();
}

QStringList qt_name_filters(std::span<const FileFilter> filters) {
    QStringList result;
    for (const FileFilter& filter : filters)
        result << qt_text(filter.name) + " (" + qt_text(filter.patterns) + ")";
    return result;
}

std::unique_ptr<QMessageBox> make_message_box(Language language, MessageId id, QWidget* parent) {
    const bool question = kind_of(id) == MessageKind::question;
    auto box = std::make_unique<QMessageBox>(
        question ? QMessageBox::Question : QMessageBox::Critical, qt_text(message_caption),
        qt_text(LoadMessage(language, id)),
        question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    return box;
}

void set_up_open_dialog(QFileDialog& dialog, const std::string& folder) {
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(qt_name_filters(mpeg_filters));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(qt_text(mpeg_default_extension));
    dialog.setDirectory(from_local_path(folder));
}

void set_up_save_dialog(QFileDialog& dialog, const std::string& folder, const std::string& name) {
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before replacing a file
    dialog.setNameFilters(qt_name_filters(mtv_filters));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(qt_text(mtv_extension));
    dialog.setDirectory(from_local_path(folder));
    dialog.selectFile(from_local_path(name));
}

std::optional<std::string> QtPrompts::choose_file_to_open(const std::string& folder) {
    QFileDialog dialog(QApplication::activeWindow());
    set_up_open_dialog(dialog, folder);
    return run_file_dialog(dialog);
}

std::optional<std::string> QtPrompts::choose_file_to_save(const std::string& folder,
                                                          const std::string& name) {
    QFileDialog dialog(QApplication::activeWindow());
    set_up_save_dialog(dialog, folder, name);
    return run_file_dialog(dialog);
}

void QtPrompts::show_error(MessageId id) {
    make_message_box(language_, id, QApplication::activeWindow())->exec();
}

bool QtPrompts::ask(MessageId id) {
    return make_message_box(language_, id, QApplication::activeWindow())->exec() ==
           QMessageBox::Yes;
}

}  // namespace quarnel
