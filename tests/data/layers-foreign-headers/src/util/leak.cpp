#include <QString>
#include <string>
#include <unistd.h>
