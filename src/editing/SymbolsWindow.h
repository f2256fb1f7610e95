#pragma once
#include <QWidget>

class DropDownList;
class Workspace;
class QLabel;
class QPushButton;

// The Input Symbols window: one character of Windows-1252 picked from a sorted list and inserted at
// the active document's selection. It remembers the last symbol inserted, stays open for the next
// one, and closes as soon as another window of the program becomes active.
class SymbolsWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SymbolsWindow(Workspace &workspace);

    QLabel *symbolLabel;
    DropDownList *symbolList;
    QPushButton *insertButton;

    void insertSymbol();

    // The one-character strings for codes 1 to 255 of Windows-1252, in code order. The five codes
    // it leaves undefined stand for the control characters of the same value.
    static QStringList symbols();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void loadSymbols();

    Workspace &m_workspace;
};
