#include "problem_message.h"

#include "resource.h"
#include "string_table.h"
#include "user_interface.h"

namespace {

// The string-table entry of each kind, and whether its "%s" takes the path.
struct MessageOf {
    ProblemKind kind;
    UINT stringId;
    bool namesPath;
};

constexpr MessageOf kMessages[] = {
    {ProblemKind::NoMemory, IDS_NO_MEMORY, false},
    {ProblemKind::CannotOpenFile, IDS_CANNOT_OPEN_FILE, true},
    {ProblemKind::CannotCreateFile, IDS_CANNOT_CREATE_FILE, true},
    {ProblemKind::FileInvalid, IDS_FILE_INVALID, true},
    {ProblemKind::CannotCreateInstallDir, IDS_CANNOT_CREATE_DIR, false},
    {ProblemKind::InstallDirTooLong, IDS_INSTALL_DIR_TOO_LONG, true},
    {ProblemKind::CannotOpenRecord, IDS_CANNOT_OPEN_INFO, true},
    {ProblemKind::RecordInvalid, IDS_INFO_INVALID, false},
    {ProblemKind::NoSystemDirectory, IDS_NO_SYSTEM_DIR, true},
    {ProblemKind::CannotWriteFile, IDS_EXTRACT_FAILED, true},
    {ProblemKind::PathTooLong, IDS_UNINSTALL_PATH_TOO_LONG, true},
    {ProblemKind::CannotStartProgram, IDS_CANNOT_START_PROGRAM, true},
    {ProblemKind::AnotherRunActive, IDS_ANOTHER_RUN, true},
};

} // namespace

std::string ProblemText(const Problem& problem) {
    for (const MessageOf& message : kMessages)
        if (message.kind == problem.kind)
            return message.namesPath ? FormatResourceString(message.stringId, problem.path)
                                     : LoadResourceString(message.stringId);
    return std::string(); // none, or the user's own choice to stop
}

void ShowProblem(const Problem& problem) {
    const std::string text = ProblemText(problem);
    if (!text.empty())
        AfxMessageBox(text);
}

std::string LeftItemsText(const std::vector<ItemLeft>& left) {
    if (left.empty())
        return std::string();
    std::string list;
    for (const ItemLeft& item : left) {
        if (!list.empty())
            list += '\n';
        list += item.outcome == ItemOutcome::Refused
                    ? FormatResourceString(IDS_ITEM_NOT_OURS, item.text)
                    : item.text;
    }
    return FormatResourceString(IDS_ITEMS_LEFT, list);
}
