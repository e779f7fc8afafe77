// SPDX-License-Identifier: GPL-2.0-or-later
// Runs one command through ExecCmd; exits 0 when it succeeded, 1 otherwise.
// Lets a test call the runner under other user ids.
#include "common/UPMComm.h"

int main(int argc, char** argv)
{
    return argc == 2 && ExecCmd(argv[1]) ? 0 : 1;
}
