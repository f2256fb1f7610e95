#pragma once
#include "platform/Dialogs.h"

// Answers every ask at once, so that nothing modal blocks a benchmark.
class QuietDialogs : public Dialogs
{
public:
    Answer message(const Message &, QWidget *) override { return Answer::OK; }
    std::optional<QString> file(const FileAsk &, QWidget *) override { return std::nullopt; }
    std::optional<QColor> color(const ColorAsk &, QWidget *) override { return std::nullopt; }
    bool print(const PrintAsk &, QWidget *) override { return false; }
};
