#pragma once
// The main dialog's widgets. They only bind controls to the DialogController and show
// what it asks; the dialog's logic lives there.

#include <QDialog>
#include <array>
#include <memory>

#include "app/control_ids.h"
#include "app/dialog_controller.h"
#include "app/language.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quarnel {

class CFileDropEdit;

class MainDialog : public QDialog, private MainDialogView {
    Q_OBJECT

  public:
    // Builds the dialog in `language` and starts it: the header's default values are
    // shown and the file dialogs open in the process's current directory.
    MainDialog(Language language, UserPrompts& prompts, HeaderReader reader,
               QWidget* parent = nullptr);
    ~MainDialog() override;

    Language language() const { return language_; }
    // The widget of a control, by the identifier of the dialog templates.
    QWidget* control(ControlId id) const;
    const DialogController& controller() const { return controller_; }

    void reject() override;  // Cancel, Esc

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The values that mirror the header (HeaderDialogView).
    void set_file_name_text(const std::string& text) override;
    void set_size_text(const std::string& text) override;
    void set_time_texts(const std::array<std::string, 6>& texts) override;
    void set_video_system_choice(std::uint8_t system) override;
    void set_resolution_entries(const std::vector<std::string>& entries) override;
    void select_resolution(std::uint8_t position) override;
    std::uint8_t selected_resolution() const override;
    void select_rate_control(std::uint8_t position) override;
    std::uint8_t selected_rate_control() const override;
    void select_aspect(std::uint8_t position) override;
    std::uint8_t selected_aspect() const override;
    void set_aspect_enabled(bool enabled) override;
    void set_bit_rate_text(const std::string& text) override;
    std::string bit_rate_text() const override;
    void select_audio_bit_rate(std::uint8_t position) override;
    std::uint8_t selected_audio_bit_rate() const override;
    void select_sampling(std::uint8_t position) override;
    std::uint8_t selected_sampling() const override;
    void set_ac3_ticked(bool ticked) override;
    bool ac3_ticked() const override;

    // The rest of the dialog (MainDialogView).
    std::string name_text() const override;
    bool video_auto() const override;
    bool audio_auto() const override;
    void set_auto_boxes(bool video, bool audio) override;
    void set_busy(bool busy) override;
    std::vector<std::string> take_pending_paths() override;
    void post_drop_notification() override;

    void build(UserPrompts& prompts);

    Language language_;
    CFileDropEdit* name_ = nullptr;
    QPushButton* open_ = nullptr;
    QLineEdit* size_ = nullptr;
    std::array<QLineEdit*, 6> date_{};  // year, month, day, hour, minute, second
    QCheckBox* video_auto_ = nullptr;
    QRadioButton* ntsc_ = nullptr;
    QRadioButton* pal_ = nullptr;
    QComboBox* resolution_ = nullptr;
    QComboBox* rate_control_ = nullptr;
    QLineEdit* video_bit_rate_ = nullptr;
    QComboBox* aspect_ = nullptr;
    QCheckBox* audio_auto_ = nullptr;
    QCheckBox* ac3_ = nullptr;
    QComboBox* audio_bit_rate_ = nullptr;
    QComboBox* sampling_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;
    DialogController controller_;
};

}  // namespace quarnel
