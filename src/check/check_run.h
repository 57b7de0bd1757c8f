#pragma once

// The whole life of the program: locate sh3.exe, examine it, show one result (or the
// not-found error) and return. Every file and library it touches is released on return.
void runCheck();
