#pragma once
// The editor's string table (French, its only language, in the game's
// single-byte character set), by text number.
// Null for a number the table lacks.
#include <cstdint>
#include <string>

const char* EditorText(int nID);
// The text, a format with one %s, filled with the value.
std::string FormatEditorText(int nID, const std::string& value);

// Control ids of the editor's buttons whose captions come from the table.
enum : uint32_t {
    EDITOR_BUTTON_EDIT_PLAYER = 1035,
    EDITOR_BUTTON_APPLY = 1095,
    EDITOR_BUTTON_SAVE = 1098,
    EDITOR_BUTTON_QUIT = 1099,
    EDITOR_BUTTON_MESSAGE_OK = 2001,
    EDITOR_BUTTON_MESSAGE_YES = 2002,
    EDITOR_BUTTON_MESSAGE_NO = 2003,
    EDITOR_BUTTON_PLAYER_OK = 2101,
    EDITOR_BUTTON_PLAYER_CANCEL = 2102,
    EDITOR_BUTTON_FILE_SAVE = 2201,
    EDITOR_BUTTON_FILE_CANCEL = 2202,
    EDITOR_BUTTON_ABOUT = 2301,
    EDITOR_BUTTON_ABOUT_OK = 2302,
};
// The caption of a button of the editor (the table's text without its
// keyboard marker '&'), or null for any other control.
const char* EditorControlCaption(uint32_t dwID);
