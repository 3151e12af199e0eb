#pragma once
// Help > Contents: the user manual.
#include <QString>

class QDialog;
class QWidget;

// A help file of this name beside the program (for instance one the maker
// supplies) is opened by the desktop's own viewer instead of the built-in manual.
inline constexpr char kHelpFileName[] = "Revora_Shift_Help.chm";

// Shows the help: the help file in the program's folder through the desktop when
// there is one and the desktop can open it, otherwise the program's help window
// with the built-in manual (one window per parent; shown again if already open).
// Returns the help window, or nullptr when the desktop took the file.
// The help file is looked for beside the program, else in the installed data folder.
QDialog* showHelp(QWidget* parent);

// The same, looking for the help file in `folder`.
QDialog* showHelp(QWidget* parent, const QString& folder);
