#include <string>
#include <QString>
#include <unistd.h>
