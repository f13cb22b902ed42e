// dde-floor: the bare cost of one macro's conversation through the DDE management library, the
// yardstick the bridge is measured against. One instance, kept; every conversation connects,
// pokes, requests and disconnects, as little around it as possible.
//   dde-floor.exe [COUNT]   prints "floor_us MEDIAN" (microseconds) of the conversations that
//                           went through; fails when more than one in a hundred did not.

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// ddeml.h needs the types of windows.h first.
#include <ddeml.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

HDDEDATA CALLBACK callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// One conversation; false when a step failed or the answer does not begin with "1".
bool converse(DWORD instance, HSZ service, HSZ topic, HSZ item) {
    char macro[] = "inst,dde: putv 1,endm";
    const HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    if (!conversation) return false;
    DWORD result = 0;
    bool ok = DdeClientTransaction(reinterpret_cast<LPBYTE>(macro), sizeof macro, conversation,
                                   item, CF_TEXT, XTYP_POKE, 10000, &result) != nullptr;
    const HDDEDATA data = ok ? DdeClientTransaction(nullptr, 0, conversation, item, CF_TEXT,
                                                    XTYP_REQUEST, 10000, &result)
                             : nullptr;
    if (data) {
        char answer[8] = {};
        DdeGetData(data, reinterpret_cast<LPBYTE>(answer), sizeof answer - 1, 0);
        ok = answer[0] == '1';
        DdeFreeDataHandle(data);
    } else {
        ok = false;
    }
    DdeDisconnect(conversation);
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 2;
    const HSZ service = DdeCreateStringHandleA(instance, "Vivarium", CP_WINANSI);
    const HSZ topic = DdeCreateStringHandleA(instance, "dde-floor", CP_WINANSI);
    const HSZ item = DdeCreateStringHandleA(instance, "Macro", CP_WINANSI);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(count));
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER begin;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&begin);
        if (!converse(instance, service, topic, item)) {
            std::fprintf(stderr, "dde-floor: conversation %d failed\n", i + 1);
            if (++failed > count / 100) return 1;
            continue;
        }
        QueryPerformanceCounter(&end);
        times.push_back(static_cast<double>(end.QuadPart - begin.QuadPart) * 1e6 /
                        static_cast<double>(frequency.QuadPart));
    }
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    std::printf("floor_us %.1f\n", *middle);
    DdeFreeStringHandle(instance, item);
    DdeFreeStringHandle(instance, topic);
    DdeFreeStringHandle(instance, service);
    DdeUninitialize(instance);
    return 0;
}

#else

int main() { return 1; }

#endif
