#pragma once
#include "platform/Dialogs.h"

// The real dialogs: QMessageBox, QFileDialog, QColorDialog and QPrintDialog.
class QtDialogs : public Dialogs
{
public:
    Answer message(const Message &ask, QWidget *parent) override;
    std::optional<QString> file(const FileAsk &ask, QWidget *parent) override;
    std::optional<QColor> color(const ColorAsk &ask, QWidget *parent) override;
    bool print(const PrintAsk &ask, QWidget *parent) override;
    std::optional<int> choose(const Choice &ask, QWidget *parent) override;

    // "Text File (*.txt)|*.txt|All files|*.*" → "Text File (*.txt);;All files (*.*)"
    static QStringList nameFilters(const QString &commonDialogFilter);
};
