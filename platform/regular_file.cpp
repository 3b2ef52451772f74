#include "platform/regular_file.h"

#include <sys/stat.h>

bool IsRegularFile(const char* path)
{
    struct stat status { };
    return path != nullptr && ::stat(path, &status) == 0 && S_ISREG(status.st_mode);
}
