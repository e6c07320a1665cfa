#include "standin/notice/not_implemented.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace standin {
namespace {

// Far more than the calls that say it; a call past the last place says it
// every time rather than never.
const char* saidAlready[32];
int saidCount = 0;

}  // namespace

void SayNotImplemented(const char* call) {
    for (int i = 0; i < saidCount; ++i)
        if (std::strcmp(saidAlready[i], call) == 0) return;
    if (saidCount < static_cast<int>(std::size(saidAlready))) saidAlready[saidCount++] = call;
    std::fprintf(stderr, "standin: %s is not implemented; it returns success\n", call);
}

}  // namespace standin
