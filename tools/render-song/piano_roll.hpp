// A picture of the song: time across, pitch up, one colour per voice.
#pragma once

#include "song.hpp"

#include <string>

// An SVG document with one rectangle per sounding note of each track (class "voice1" or
// "voice2"), rests left empty, a line at every C, and a time axis in seconds.
std::string piano_roll_svg(Track track1, Track track2);
