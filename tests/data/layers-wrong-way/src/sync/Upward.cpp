#include "sync/Inventory.h"
#include "app/Form1_u.h"
