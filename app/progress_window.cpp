#include "app/progress_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <utility>

#include "app/dialog_texts.h"
#include "app/qt_text.h"

namespace quarnel {

ProgressWindow::ProgressWindow(Language language, std::function<void()> cancel)
    : texts_(progress_texts(language)),
      // A title bar without a close box: only Cancel ends the scan early.
      window_(std::make_unique<QWidget>(
          nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)),
      text_(new QLabel(qt_text(texts_.initial_text))),
      bar_(new QProgressBar),
      cancel_(new QPushButton(qt_text(texts_.cancel_button))) {
    window_->setWindowTitle(qt_text(texts_.caption));
    window_->setFont(dialog_font(texts_.font));
    text_->setAlignment(Qt::AlignCenter);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    QObject::connect(cancel_, &QPushButton::clicked, std::move(cancel));
    // The main dialog runs modal and is disabled while a file is read: this window must
    // take the user's input all the same.
    window_->setWindowModality(Qt::ApplicationModal);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(window_.get());
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    window_->setMinimumWidth(320);
    window_->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window_->move(screen->availableGeometry().center() - window_->rect().center());
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::show() {
    window_->show();
}

void ProgressWindow::show_percent(int percent) {
    text_->setText(qt_text(progress_text(texts_, percent)));
    bar_->setValue(percent);
}

ProgressScreenFactory progress_windows(Language language) {
    return [language](std::function<void()> cancel) -> std::unique_ptr<ProgressScreen> {
        return std::make_unique<ProgressWindow>(language, std::move(cancel));
    };
}

}  // namespace quarnel
