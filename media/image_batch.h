#pragma once
// Loading many pictures at once: the files are read in turn on the calling thread, then
// decoded side by side on worker threads, either while the caller waits (LoadImages) or
// while it goes on with other work (PictureBatch), so a start-up step that needs a dozen
// large pictures no longer holds up the steps after it.
#include <memory>
#include <string>
#include <vector>

#include <SDL/SDL.h>

// LoadImage for every name, in order: out[i] is what LoadImage(names[i]) would give (null for
// a missing or undecodable file, with LoadImage's messages), and the caller owns every
// surface. At most `threads` decode at once (0: as many as the machine has, up to 8).
std::vector<SDL_Surface*> LoadImages(const std::vector<std::string>& names, unsigned threads = 0);

// A LoadImages that runs in the background: Start reads the files and returns while worker
// threads decode them; Finish waits for them and hands the pictures over. Pictures of a kind
// the quick decoder declines, and damaged files, are decoded (or reported) by Finish on the
// calling thread, with LoadImage's messages. Start and Finish belong to one thread.
class PictureBatch {
public:
    PictureBatch();
    ~PictureBatch();  // waits for the workers and frees what was never collected
    PictureBatch(const PictureBatch&) = delete;
    PictureBatch& operator=(const PictureBatch&) = delete;

    // Starts a batch (finishing and freeing any earlier one). threads: as for LoadImages, but
    // 0 leaves one processor to the caller.
    void Start(const std::vector<std::string>& names, unsigned threads = 0);
    // True between Start and Finish.
    bool Pending() const;
    // Waits for the decoding and returns the pictures in order (the caller owns them); empty
    // when nothing was started.
    std::vector<SDL_Surface*> Finish();

private:
    friend std::vector<SDL_Surface*> LoadImages(const std::vector<std::string>& names, unsigned threads);
    // Reads the files and starts the workers: `threads` as Start's; a caller that waits (not
    // leaving one processor to itself) decodes too, so it starts one worker fewer.
    void Begin(const std::vector<std::string>& names, unsigned threads, bool leaveOneToCaller);

    struct State;
    std::unique_ptr<State> state_;
};
