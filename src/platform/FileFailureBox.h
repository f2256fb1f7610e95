#pragma once

class Dialogs;
class Failure;
class QWidget;

// Tells the user that a file could not be read or written: the failure's text, which names the
// file and the reason the system gave, in a box titled "Scrivlo" with a critical icon.
class FileFailureBox
{
public:
    static void show(Dialogs &dialogs, const Failure &failure, QWidget *parent);
};
