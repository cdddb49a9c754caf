// The peer of bench_startup: the least an SDL2 program does to show a
// window of pixels (a grey window of the downloader's size, shown from a
// memory surface), then waits idle until it is told to end.
// --accelerated leaves SDL's framebuffer choice at its default.
#include <SDL.h>

#include <cstring>

int main(int argc, char** argv)
{
    bool accelerated = argc > 1 && std::strcmp(argv[1], "--accelerated") == 0;
    if (!accelerated) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* w = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 621, 584, 0);
    if (!w) return 1;
    SDL_Surface* s = SDL_GetWindowSurface(w);
    if (!s) return 1;
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0xF0, 0xF0, 0xF0));
    SDL_UpdateWindowSurface(w);
    SDL_Event e;
    while (SDL_WaitEvent(&e))
        if (e.type == SDL_QUIT) break;
        else if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) SDL_UpdateWindowSurface(w);
    SDL_DestroyWindow(w);
    SDL_Quit();
    return 0;
}
