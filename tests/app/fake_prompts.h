#pragma once
// Answers the dialog's questions from a script and records what it was asked.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace quarnel {

class FakePrompts : public UserPrompts {
  public:
    std::optional<std::string> choose_file_to_open(const std::string& folder) override {
        open_folders.push_back(folder);
        return next(open_answers);
    }
    std::optional<std::string> choose_file_to_save(const std::string& folder,
                                                   const std::string& name) override {
        save_requests.push_back({folder, name});
        return next(save_answers);
    }
    void show_error(MessageId id) override { shown.push_back(id); }
    bool ask(MessageId id) override {
        shown.push_back(id);
        return answer_yes;
    }

    struct SaveRequest {
        std::string folder;
        std::string name;
    };

    // What the next file dialogs return; nothing stands for Cancel.
    std::deque<std::optional<std::string>> open_answers;
    std::deque<std::optional<std::string>> save_answers;
    bool answer_yes = true;

    std::vector<std::string> open_folders;
    std::vector<SaveRequest> save_requests;
    std::vector<MessageId> shown;  // every message box, in order

  private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty()) return {};
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace quarnel
