// The downloader's entry point. Until the application's windows exist, it
// only says so.
#include <cstdio>

int main()
{
    std::puts("Velmora Video Downloader: the application is not built yet.");
    return 0;
}
