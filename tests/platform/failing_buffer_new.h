#pragma once

// While set, the nothrow array new of this test program fails, as the allocation of a
// file buffer may; everything else allocates as usual.
extern bool failNothrowArrayNew;
