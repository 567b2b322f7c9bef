#pragma once

// Vocabulary lists into the controls they feed. Each item keeps its code as
// item data (Qt::UserRole); records store and compare that code, never the
// text or the position.

#include "vocabulary.h"

#include <string>
#include <string_view>

class QComboBox;
class QListWidget;
class QTableWidget;

inline constexpr int kCodeRole = 0x0100; // Qt::UserRole

// Each reads Bases/<listName> of the program folder and throws
// TVocabularyError when the list cannot be used.
void FillCodeCombo(const std::string& programFolder, const std::string& listName, QComboBox* combo,
                   int padWidth, int startIndex);
void FillSpellCombo(const std::string& programFolder, const std::string& listName, QComboBox* combo,
                    int startIndex);
void FillFlagList(const std::string& programFolder, const std::string& listName, QListWidget* list,
                  int padWidth);
// The mob page's tables: "Spells_Mob" (name, circle, level, count) or
// "Skills_Mob" (name, level, value); the last column is the one the user edits.
enum class TGridKind { Spells, Skills };
void FillGrid(const std::string& programFolder, const std::string& listName, QTableWidget* grid,
              TGridKind kind);

// The items themselves, for lists already parsed.
void FillCombo(QComboBox* combo, const std::vector<TVocabularyItem>& items, int startIndex);
void FillFlags(QListWidget* list, const std::vector<TVocabularyItem>& items);
void FillGridRows(QTableWidget* grid, const std::vector<TGridRow>& rows, TGridKind kind);

// Checks the items a flag string names; the string of the checked items in item order.
void FlagsToChecks(std::string_view flags, QListWidget* list);
std::string ChecksToFlags(const QListWidget* list);
// The record's flag string `previous` after the list's checks (MergeFlags):
// what the list does not name is kept, and an unchanged list keeps the text.
std::string ChecksToFlagsKeeping(const QListWidget* list, std::string_view previous);

// Marks the entry ShowCode adds for a value the list does not name; kept
// apart from the roles next to kCodeRole that the dialogs give their own items.
inline constexpr int kUnlistedRole = kCodeRole + 0x80;

// Selects the item carrying `code`; when none does, an entry "N (нет в
// списке)" carrying it, which stays until another record's value is shown.
void ShowCode(QComboBox* combo, int code);
// The code of the selected item; `fallback` when nothing is selected.
int ReadCode(const QComboBox* combo, int fallback = 0);
