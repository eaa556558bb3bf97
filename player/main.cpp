#include "play_song.hpp"

int main(int argc, char** argv, char** envp) {
    return play_song(argc, argv, envp);
}
