// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_FOTOLARK 1
#define IDB_TOOLBAR 101
