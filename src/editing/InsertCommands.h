#pragma once
#include "editing/SymbolsWindow.h"
#include "platform/SingleWindow.h"

#include <QObject>

class Workspace;
class QDateTime;
class QLocale;
class RichTextBox;

// The Insert menu's Date / Time, Pictures, Text Files and Table commands, and the opening of the
// Input Symbols window.
class InsertCommands : public QObject
{
    Q_OBJECT
public:
    explicit InsertCommands(Workspace &workspace);

    void updateInsertMenu();
    void insertDateTime();
    void insertPictures();
    void showSymbols();
    void insertTextFiles();
    void insertTable();

    // The Input Symbols window while it is open.
    SymbolsWindow *symbolsWindow() const { return m_symbols.get(); }

    // The date in the user's short format, " / ", and the time of day in the user's long format
    // (hours, minutes, seconds and the day-period marker where the format has one, no time zone).
    static QString dateTimeText(const QDateTime &moment, const QLocale &locale);

private:
    // The active document's surface; throws Failure when no document is open.
    RichTextBox &activeSurface() const;

    Workspace &m_workspace;
    SingleWindow<SymbolsWindow> m_symbols;
};
