#pragma once
// A main dialog with scripted prompts and a fake analyser, and files to feed it.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "fake_prompts.h"
#include "fake_reader.h"

namespace quarnel {

struct DialogHarness {
    explicit DialogHarness(Language language = Language::english)
        : dialog(std::make_unique<MainDialog>(language, prompts, reader.reader())) {
        dialog->show();
    }

    template <typename Widget>
    Widget* get(ControlId id) const {
        return qobject_cast<Widget*>(dialog->control(id));
    }
    QString text(ControlId id) const { return get<QLineEdit>(id)->text(); }
    QString selected(ControlId id) const { return get<QComboBox>(id)->currentText(); }
    void click(ControlId id) const { get<QAbstractButton>(id)->click(); }
    void type(ControlId id, const QString& text) const { get<QLineEdit>(id)->setText(text); }

    // A file of `size` bytes in the temporary folder; returns its path.
    std::string make_file(const std::string& name, std::size_t size = 100) const {
        const std::string path = folder(name);
        std::ofstream(path, std::ios::binary) << std::string(size, '\0');
        return path;
    }
    std::string folder(const std::string& name = {}) const {
        const std::string root = temp.path().toStdString();
        return name.empty() ? root : root + "/" + name;
    }

    FakePrompts prompts;
    FakeReader reader;
    QTemporaryDir temp;
    std::unique_ptr<MainDialog> dialog;
};

inline std::vector<unsigned char> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace quarnel
