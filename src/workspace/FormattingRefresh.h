#pragma once
#include <QString>

class RichTextBox;
class Workspace;

// Shows the formatting of a surface's selection on the frame's indicators: the font boxes, the
// "Bullet Style" check and the formatting buttons. Each row reads one property and writes one
// indicator, on its own: a row that fails (a mixed value that cannot become text, an entry the
// box does not have) is skipped and the others still run.
class FormattingRefresh
{
public:
    // Row letters: F font name, S font size, B bullets, a-d bold/italic/underline/strike,
    // e/f/g left/centre/right alignment.
    static constexpr const char *ContentChange = "FSBabcdefg";
    static constexpr const char *MouseClick = "BFSabcdefg";
    static constexpr const char *ArrowKey = "Babdefgc" "FS";
    static constexpr const char *WindowLoad = "abcdefg";

    static void run(const RichTextBox &surface, Workspace &workspace, const QString &rows);
    static void row(const RichTextBox &surface, Workspace &workspace, QChar row);
    // A font size as the box shows it: 12 gives "12", 10.5 gives "10.5"; it reads back exactly.
    static QString sizeText(double points);
};
