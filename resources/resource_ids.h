/* Resource ids, shared by the resource script and the program. */
#pragma once

#define IDI_QUORVEL 1
#define IDC_POINTER 101
#define IDB_LOGO 201
#define IDB_WARRIOR 202
