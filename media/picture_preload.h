#pragma once
// One large picture decoded on a worker thread ahead of its use: the title picture starts
// decoding while start-up loads the databases, and the title menu then finds it ready.
#include <memory>
#include <string>

#include <SDL/SDL.h>

// LoadImageMiddle(name, w, h) run ahead. Start reads the file on the calling thread, then
// returns while a worker makes the picture's surface and decodes the pixels; Take waits for
// the worker and hands the picture over. Like the other picture workers, it makes an SDL
// surface off the main thread, so it is started only once the video mode is set (SDL reads
// the screen surface while it makes one). Only the plain truecolour kind is decoded on the worker;
// anything else (another kind, a damaged or missing file) is left to LoadImageMiddle itself,
// on the calling thread, with its messages. Start, Matches and Take belong to one thread.
class PicturePreload {
public:
    PicturePreload();
    ~PicturePreload();  // waits for the worker and frees a picture never taken
    PicturePreload(const PicturePreload&) = delete;
    PicturePreload& operator=(const PicturePreload&) = delete;

    // Starts a load (dropping any earlier one).
    void Start(const std::string& name, int w, int h);
    // True when a load is pending for this name and size and the name still leads to the
    // file that was read (a folder mounted since may hold another picture of that name).
    bool Matches(const std::string& name, int w, int h) const;
    // Waits for the worker and returns what LoadImageMiddle(name, w, h) gives for the pending
    // load's name and size (the caller owns it); null when nothing is pending.
    SDL_Surface* Take();
    // Waits for the worker and frees the pending load, if any.
    void Drop();

private:
    struct State;
    std::unique_ptr<State> state_;
};
