#include "app/main_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialog_texts.h"
#include "app/file_drop_edit.h"
#include "app/qt_prompts.h"
#include "app/qt_text.h"
#include "mtv/header_lists.h"

namespace quarnel {
namespace {

template <typename List>
QComboBox* fixed_list(const List& entries) {
    auto* list = new QComboBox;  // a drop-down list: no typed text
    for (std::string_view entry : entries) list->addItem(qt_text(entry));
    return list;
}

QLineEdit* read_only_box() {
    auto* box = new QLineEdit;
    box->setReadOnly(true);
    return box;
}

// A position past the end of the list leaves it without a selection, which reads back as
// no_selection.
void select(QComboBox* list, std::uint8_t position) {
    list->setCurrentIndex(position < list->count() ? position : -1);
}

std::uint8_t selected(const QComboBox* list) {
    const int index = list->currentIndex();
    return index < 0 ? no_selection : static_cast<std::uint8_t>(index);
}

QLabel* label_for(std::string_view caption, QWidget* buddy) {
    auto* label = new QLabel(qt_text(caption));
    label->setBuddy(buddy);
    return label;
}

QPushButton* button(std::string_view caption) {
    auto* b = new QPushButton(qt_text(caption));
    b->setAutoDefault(false);  // Enter always means "Save MTV"
    return b;
}

}  // namespace

MainDialog::MainDialog(Language language, UserPrompts& prompts, HeaderReader reader,
                       QWidget* parent)
    : QDialog(parent), language_(language), controller_(*this, prompts, std::move(reader)) {
    build(prompts);
    controller_.start(to_local_path(QDir::currentPath()));
}

MainDialog::~MainDialog() = default;

void MainDialog::build(UserPrompts& prompts) {
    const MainDialogTexts& texts = main_dialog_texts(language_);
    setWindowTitle(qt_text(texts.title));
    setWindowIcon(QIcon(":/quarnel.png"));
    setFont(dialog_font(texts.font));

    name_ = new CFileDropEdit(prompts);
    open_ = button(texts.open);
    size_ = read_only_box();
    for (QLineEdit*& box : date_) {
        box = read_only_box();
        box->setAlignment(Qt::AlignRight);
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance("00000") + 12);
    }
    video_auto_ = new QCheckBox(qt_text(texts.video_auto));
    ntsc_ = new QRadioButton(qt_text(texts.ntsc));
    pal_ = new QRadioButton(qt_text(texts.pal));
    resolution_ = new QComboBox;
    rate_control_ = fixed_list(rate_control_labels);
    video_bit_rate_ = new QLineEdit;
    aspect_ = fixed_list(aspect_labels);
    audio_auto_ = new QCheckBox(qt_text(texts.audio_auto));
    ac3_ = new QCheckBox(qt_text(texts.ac3));
    audio_bit_rate_ = fixed_list(AudioBitRateList);
    sampling_ = fixed_list(SamplingFrequencyList);
    save_ = button(texts.save);
    save_->setDefault(true);
    cancel_ = button(texts.cancel);

    auto* file_row = new QHBoxLayout;
    file_row->addWidget(name_, 1);
    file_row->addWidget(open_);

    auto* facts = new QGridLayout;
    facts->addWidget(new QLabel(qt_text(texts.file_size)), 0, 0);
    facts->addWidget(size_, 0, 1, 1, 6);
    facts->addWidget(new QLabel(qt_text(texts.date)), 1, 0);
    for (int i = 0; i < 6; ++i) {
        const int row = 1 + i / 3;
        const int column = 1 + (i % 3) * 2;
        facts->addWidget(date_[i], row, column);
        facts->addWidget(new QLabel(qt_text(texts.date_units[i])), row, column + 1);
    }

    auto* video = new QGroupBox(qt_text(texts.video_group));
    auto* video_grid = new QGridLayout(video);
    video_grid->addWidget(video_auto_, 0, 0, 1, 3);
    video_grid->addWidget(new QLabel(qt_text(texts.video_type)), 1, 0);
    auto* systems = new QHBoxLayout;
    systems->addWidget(ntsc_);
    systems->addWidget(pal_);
    systems->addStretch();
    video_grid->addLayout(systems, 1, 1, 1, 2);
    video_grid->addWidget(label_for(texts.resolution, resolution_), 2, 0);
    video_grid->addWidget(resolution_, 2, 1);
    video_grid->addWidget(label_for(texts.rate_control, rate_control_), 3, 0);
    video_grid->addWidget(rate_control_, 3, 1);
    video_grid->addWidget(label_for(texts.video_bit_rate, video_bit_rate_), 4, 0);
    video_grid->addWidget(video_bit_rate_, 4, 1);
    video_grid->addWidget(new QLabel(qt_text(texts.bit_rate_unit)), 4, 2);
    video_grid->addWidget(label_for(texts.aspect, aspect_), 5, 0);
    video_grid->addWidget(aspect_, 5, 1);

    auto* audio = new QGroupBox(qt_text(texts.audio_group));
    auto* audio_grid = new QGridLayout(audio);
    audio_grid->addWidget(audio_auto_, 0, 0);
    audio_grid->addWidget(ac3_, 0, 1);
    audio_grid->addWidget(label_for(texts.audio_bit_rate, audio_bit_rate_), 1, 0);
    audio_grid->addWidget(audio_bit_rate_, 1, 1);
    audio_grid->addWidget(label_for(texts.sampling, sampling_), 2, 0);
    audio_grid->addWidget(sampling_, 2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file_row);
    layout->addLayout(facts);
    layout->addWidget(video);
    layout->addWidget(audio);
    layout->addLayout(buttons);

    connect(open_, &QPushButton::clicked, this, [this] { controller_.open(); });
    connect(save_, &QPushButton::clicked, this, [this] { controller_.save(); });
    connect(cancel_, &QPushButton::clicked, this, &MainDialog::reject);
    connect(ntsc_, &QRadioButton::clicked, this,
            [this] { controller_.choose_video_system(video_system_ntsc); });
    connect(pal_, &QRadioButton::clicked, this,
            [this] { controller_.choose_video_system(video_system_pal); });
    connect(ac3_, &QCheckBox::clicked, this, [this](bool ticked) { controller_.set_ac3(ticked); });

    // Only the name box takes dropped files. Edit boxes take drops by default and would
    // type a dropped file's URL in as text.
    for (QWidget* child : findChildren<QWidget*>())
        if (child != name_) child->setAcceptDrops(false);
}

QWidget* MainDialog::control(ControlId id) const {
    switch (id) {
        case ControlId::save:
            return save_;
        case ControlId::cancel:
            return cancel_;
        case ControlId::name:
            return name_;
        case ControlId::open:
            return open_;
        case ControlId::file_size:
            return size_;
        case ControlId::year:
            return date_[0];
        case ControlId::month:
            return date_[1];
        case ControlId::day:
            return date_[2];
        case ControlId::hour:
            return date_[3];
        case ControlId::minute:
            return date_[4];
        case ControlId::second:
            return date_[5];
        case ControlId::video_auto:
            return video_auto_;
        case ControlId::ntsc:
            return ntsc_;
        case ControlId::pal:
            return pal_;
        case ControlId::resolution:
            return resolution_;
        case ControlId::rate_control:
            return rate_control_;
        case ControlId::audio_auto:
            return audio_auto_;
        case ControlId::audio_bit_rate:
            return audio_bit_rate_;
        case ControlId::sampling:
            return sampling_;
        case ControlId::aspect:
            return aspect_;
        case ControlId::video_bit_rate:
            return video_bit_rate_;
        case ControlId::ac3:
            return ac3_;
    }
    return nullptr;
}

void MainDialog::reject() {
    if (controller_.may_close()) QDialog::reject();
}

void MainDialog::closeEvent(QCloseEvent* event) {
    if (!controller_.may_close()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool MainDialog::event(QEvent* event) {
    if (event->type() == drop_notification) {
        controller_.handle_drop_notification();
        return true;
    }
    return QDialog::event(event);
}

void MainDialog::set_file_name_text(const std::string& text) {
    name_->setText(from_local_path(text));
}
void MainDialog::set_size_text(const std::string& text) {
    size_->setText(qt_text(text));
}

void MainDialog::set_time_texts(const std::array<std::string, 6>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) date_[i]->setText(qt_text(texts[i]));
}

void MainDialog::set_video_system_choice(std::uint8_t system) {
    // Exclusive radio buttons cannot both be cleared while they are exclusive.
    for (QRadioButton* b : {ntsc_, pal_}) b->setAutoExclusive(false);
    ntsc_->setChecked(system == video_system_ntsc);
    pal_->setChecked(system == video_system_pal);
    for (QRadioButton* b : {ntsc_, pal_}) b->setAutoExclusive(true);
}

void MainDialog::set_resolution_entries(const std::vector<std::string>& entries) {
    resolution_->clear();
    for (const std::string& entry : entries) resolution_->addItem(qt_text(entry));
}

void MainDialog::select_resolution(std::uint8_t position) {
    select(resolution_, position);
}
std::uint8_t MainDialog::selected_resolution() const {
    return selected(resolution_);
}
void MainDialog::select_rate_control(std::uint8_t position) {
    select(rate_control_, position);
}
std::uint8_t MainDialog::selected_rate_control() const {
    return selected(rate_control_);
}
void MainDialog::select_aspect(std::uint8_t position) {
    select(aspect_, position);
}
std::uint8_t MainDialog::selected_aspect() const {
    return selected(aspect_);
}
void MainDialog::set_aspect_enabled(bool enabled) {
    aspect_->setEnabled(enabled);
}
void MainDialog::set_bit_rate_text(const std::string& text) {
    video_bit_rate_->setText(qt_text(text));
}
std::string MainDialog::bit_rate_text() const {
    return video_bit_rate_->text().toStdString();
}
void MainDialog::select_audio_bit_rate(std::uint8_t position) {
    select(audio_bit_rate_, position);
}
std::uint8_t MainDialog::selected_audio_bit_rate() const {
    return selected(audio_bit_rate_);
}
void MainDialog::select_sampling(std::uint8_t position) {
    select(sampling_, position);
}
std::uint8_t MainDialog::selected_sampling() const {
    return selected(sampling_);
}
void MainDialog::set_ac3_ticked(bool ticked) {
    ac3_->setChecked(ticked);
}
bool MainDialog::ac3_ticked() const {
    return ac3_->isChecked();
}

std::string MainDialog::name_text() const {
    return to_local_path(name_->text());
}
bool MainDialog::video_auto() const {
    return video_auto_->isChecked();
}
bool MainDialog::audio_auto() const {
    return audio_auto_->isChecked();
}

void MainDialog::set_auto_boxes(bool video, bool audio) {
    video_auto_->setChecked(video);
    audio_auto_->setChecked(audio);
}

void MainDialog::set_busy(bool busy) {
    setEnabled(!busy);
}

std::vector<std::string> MainDialog::take_pending_paths() {
    return name_->take_pending_paths();
}

void MainDialog::post_drop_notification() {
    QCoreApplication::postEvent(this, new QEvent(drop_notification));
}

}  // namespace quarnel
