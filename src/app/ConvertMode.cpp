#include "app/ConvertMode.h"
#include <cstdio>

int ConvertMode::run(const QStringList &)
{
    std::fprintf(stderr, "scrivlo: --convert-to is not available yet\n");
    return 2;
}
