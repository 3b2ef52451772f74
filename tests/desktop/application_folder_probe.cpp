// Prints the application folder as the player finds it for itself.

#include "platform/executable_folder.h"

#include <cstdio>

int main()
{
    std::puts(ExecutableFolder().c_str());
    return 0;
}
