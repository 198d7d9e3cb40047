// The spell check of a 5,000-word section in the text editor, every question answered "ignore",
// against `hunspell -l` listing the misspelt words of the same text (the goal: at most twice its
// time), and `hunspell -a`, which also finds suggestions as the check must for its dialog.
// Prints the times in milliseconds.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextEdit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/console_prompts.h"
#include "store/db/sqlite_database.h"
#include "textedit/texteditor.h"
#include "ui/picture_button.h"

namespace {

constexpr const char* kDictionary = "/usr/share/hunspell";

// Ignores every word, as the dialog's "ignore" does, and counts the questions.
class IgnoringPrompts : public ConsolePrompts {
  public:
    explicit IgnoringPrompts(std::ostream& out) : ConsolePrompts(out) {}
    SpellAnswer spellReplacement(const std::string& word, const std::string&) override {
        ++questions;
        return {word, false, false};
    }
    int questions = 0;
};

std::string Words(int count) {
    static const char* const kWords[] = {"garden",  "window",   "quickly", "recieve", "mountain",
                                         "library", "beautful", "morning", "paper",   "sentance"};
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += kWords[(i * 7) % 10];
        text += i % 12 == 11 ? "\n" : " ";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    namespace fs = std::filesystem;
    const fs::path working = fs::temp_directory_path() / "quillora-spell-bench";
    fs::remove_all(working);
    fs::create_directories(working / "LDB");
    for (const char* file : {"en_US.aff", "en_US.dic"}) {
        fs::copy_file(fs::path(kDictionary) / file, working / "LDB" / file);
    }
    {
        SqliteDatabase words;
        words.open((working / "quillwords.db").string());
        words.runStatement("CREATE TABLE searchwords (WORD TEXT)");
    }
    const std::string text = Words(5000);
    std::ofstream(working / "text.txt") << text;

    std::ostringstream messages;
    IgnoringPrompts prompts(messages);
    texteditor editor(prompts, nullptr);
    editor.setWorkingFolder(working.string());
    editor.editingArea()->setPlainText(QString::fromStdString(text));
    QElapsedTimer ours;
    ours.start();
    editor.findChild<PictureButton*>("spell")->click();
    const double oursMs = static_cast<double>(ours.nsecsElapsed()) / 1e6;

    const auto timed = [&](const char* mode) {
        const std::string command = "hunspell -d " + (working / "LDB" / "en_US").string() + " " +
                                    mode + " < " + (working / "text.txt").string() + " > /dev/null";
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        return status == 0 ? ms : -1.0;
    };
    const double listing = timed("-l");
    const double suggesting = timed("-a");
    std::printf(
        "5000 words, %d questions answered \"ignore\": spell check %.0f ms; hunspell -l "
        "%.0f ms (ratio %.2f); hunspell -a %.0f ms (a negative time: the hunspell command "
        "failed)\n",
        prompts.questions, oursMs, listing, oursMs / listing, suggesting);
    fs::remove_all(working);
    return 0;
}
