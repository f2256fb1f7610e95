#include "platform/Dialogs.h"

std::optional<int> Dialogs::choose(const Choice &, QWidget *)
{
    return std::nullopt;
}
