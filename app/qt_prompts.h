#pragma once
// The user prompts as Qt's file dialogs and message boxes.

#include <QString>
#include <QStringList>
#include <memory>
#include <span>

#include "app/file_filters.h"
#include "app/language.h"
#include "app/prompts.h"
#include "mtv/save_names.h"

class QFileDialog;
class QMessageBox;
class QWidget;

namespace quarnel {

// Qt's form of a filter list: "name (patterns)" per entry.
QStringList qt_name_filters(std::span<const FileFilter> filters);

// A message box captioned "Quarnel" of the kind that message `id` is shown in.
std::unique_ptr<QMessageBox> make_message_box(Language language, MessageId id, QWidget* parent);

// The open dialog: MPEG files or all files, an existing file, default extension "m2p".
void set_up_open_dialog(QFileDialog& dialog, const std::string& folder);
// The save dialog: MTV files, proposing `name`, default extension "mtv", asking before
// replacing a file.
void set_up_save_dialog(QFileDialog& dialog, const std::string& folder, const std::string& name);

class QtPrompts : public UserPrompts {
  public:
    // Boxes and file dialogs open over the window that is active when they are asked for.
    explicit QtPrompts(Language language) : language_(language) {}

    std::optional<std::string> choose_file_to_open(const std::string& folder) override;
    std::optional<std::string> choose_file_to_save(const std::string& folder,
                                                   const std::string& name) override;
    void show_error(MessageId id) override;
    bool ask(MessageId id) override;

  private:
    Language language_;
};

// Paths pass between Qt and the rest of the program as the file system's bytes.
QString from_local_path(const std::string& path);
std::string to_local_path(const QString& path);

}  // namespace quarnel
