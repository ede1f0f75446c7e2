// The identifiers of the programs' resources (canprog.rc), shared with the code.
#pragma once

#define CANPROG_ICON 1
#define CANPROG_PORT_DIALOG 101
#define CANPROG_PORT_LIST 1001
#define CANPROG_QUESTION_DIALOG 102
#define CANPROG_QUESTION_TEXT 1002
