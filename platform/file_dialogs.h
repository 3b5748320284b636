#pragma once
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zt {

// What an open or save dialog asks. Filter is the program's form:
// "Description|*.a;*.b|Description|*.c", FilterIndex 1-based.
struct FileDialogRequest {
    std::string Title;
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;  // without the dot
    std::string InitialDir;
    std::string FileName;
    bool MustExist = false;
    bool ConfirmOverwrite = false;
};

// The user's answer; Ok is false when the dialog was cancelled.
struct FileDialogResult {
    bool Ok = false;
    std::string Path;
    int FilterIndex = 1;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual FileDialogResult OpenFile(const FileDialogRequest& request) = 0;
    virtual FileDialogResult SaveFile(const FileDialogRequest& request) = 0;
};

// The program's filter in Qt's form, "Description (*.a *.b);;...". Patterns
// match whatever the case of the name, and "*.*" matches every name. Every
// description keeps its place, so FilterIndex counts the same in both forms;
// one without patterns matches every name.
std::string QtFilterFromProgramFilter(std::string_view filter);

// The typed path with "." and the default extension appended when its file
// name has no extension of its own.
std::string WithDefaultExtension(std::string_view path, std::string_view defaultExt);

// Dialogs answered from a script: each call takes the next queued answer
// (a cancel when none is left) and is recorded.
class ScriptedFileDialogs : public FileDialogs {
public:
    struct Asked {
        bool Save = false;
        FileDialogRequest Request;
    };

    FileDialogResult OpenFile(const FileDialogRequest& request) override { return Answer(false, request); }
    FileDialogResult SaveFile(const FileDialogRequest& request) override { return Answer(true, request); }

    void QueueAnswer(const FileDialogResult& answer) { answers_.push_back(answer); }
    const std::vector<Asked>& Requests() const { return asked_; }

private:
    FileDialogResult Answer(bool save, const FileDialogRequest& request);

    std::deque<FileDialogResult> answers_;
    std::vector<Asked> asked_;
};

}  // namespace zt
