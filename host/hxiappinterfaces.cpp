// The special members of the application interfaces, out of line: compiled
// into the plug-in library itself, they give other modules the constructors,
// the assignment and the virtual tables to implement the interfaces with.
#include "hxiappexec.h"
#include "hxiappgen.h"
#include "hxiappsequence.h"

HxiAppExec::HxiAppExec() = default;
HxiAppExec::HxiAppExec(const HxiAppExec &) = default;
HxiAppExec &HxiAppExec::operator=(const HxiAppExec &) = default;

HxiAppSequence::HxiAppSequence() = default;
HxiAppSequence::HxiAppSequence(const HxiAppSequence &) = default;
HxiAppSequence &HxiAppSequence::operator=(const HxiAppSequence &) = default;

HxiAppGen::HxiAppGen() = default;
HxiAppGen::HxiAppGen(const HxiAppGen &) = default;
HxiAppGen &HxiAppGen::operator=(const HxiAppGen &) = default;
