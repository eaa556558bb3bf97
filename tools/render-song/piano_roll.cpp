#include "piano_roll.hpp"

#include "renderer.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr double PIXELS_PER_SECOND = 60.0;
constexpr double PIXELS_PER_SEMITONE = 6.0;
constexpr double MARGIN_LEFT = 40.0;
constexpr double MARGIN_TOP = 30.0;
constexpr double MARGIN_BOTTOM = 30.0;
constexpr double MARGIN_RIGHT = 20.0;
constexpr int SEMITONES_PER_OCTAVE = 12;
constexpr int NOTE_OF_C4 = 61; // note indices are MIDI numbers plus one

struct Voice2D {
    Track track;
    const char* name;
    const char* colour;
};

template <typename... Arguments>
void append(std::string& out, const char* format, Arguments... arguments) {
    char line[256];
    std::snprintf(line, sizeof line, format, arguments...);
    out += line;
}

// Calls visit(note, first_sample, samples) for every event of the track, rests included.
template <typename Visit>
void for_each_event(Track track, Visit visit) {
    int sample = 0;
    for (; track->note != TRACK_END; ++track) {
        const int samples = event_samples(*track);
        visit(track->note, sample, samples);
        sample += samples;
    }
}

double seconds(int samples) {
    return static_cast<double>(samples) / SAMPLE_RATE;
}

} // namespace

std::string piano_roll_svg(Track track1, Track track2) {
    const Voice2D voices[] = {{track1, "voice1", "#2b6cb0"}, {track2, "voice2", "#dd6b20"}};

    int lowest = NOTE_COUNT;
    int highest = 0;
    for (const Voice2D& voice : voices) {
        for_each_event(voice.track, [&](int note, int, int) {
            if (note != REST) {
                lowest = std::min(lowest, note);
                highest = std::max(highest, note);
            }
        });
    }
    if (lowest > highest) { // nothing sounds at all
        lowest = highest = NOTE_OF_C4;
    }
    const double length = seconds(std::max(track_samples(track1), track_samples(track2)));
    const double plot_width = length * PIXELS_PER_SECOND;
    const double plot_height = (highest - lowest + 1) * PIXELS_PER_SEMITONE;
    const double width = MARGIN_LEFT + plot_width + MARGIN_RIGHT;
    const double height = MARGIN_TOP + plot_height + MARGIN_BOTTOM;
    const double bottom = MARGIN_TOP + plot_height;
    auto x_of = [](double time) { return MARGIN_LEFT + time * PIXELS_PER_SECOND; };
    auto y_of = [&](int note) { return MARGIN_TOP + (highest - note) * PIXELS_PER_SEMITONE; };

    std::string svg;
    append(svg,
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
           "viewBox=\"0 0 %.0f %.0f\" font-family=\"sans-serif\" font-size=\"10\">\n",
           width, height, width, height);
    append(svg, "<rect width=\"%.0f\" height=\"%.0f\" fill=\"white\"/>\n", width, height);
    append(svg, "<text x=\"%.0f\" y=\"16\">", MARGIN_LEFT);
    append(svg, "<tspan fill=\"%s\">&#9632; voice 1 (bass)</tspan>  ", voices[0].colour);
    append(svg, "<tspan fill=\"%s\">&#9632; voice 2 (tune)</tspan></text>\n", voices[1].colour);

    // A line and a name at every C, so that pitches can be read off.
    for (int note = lowest; note <= highest; ++note) {
        const int midi = note - 1;
        if (midi % SEMITONES_PER_OCTAVE == 0) {
            const double y = y_of(note) + PIXELS_PER_SEMITONE;
            append(svg, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#ddd\"/>\n",
                   MARGIN_LEFT, y, MARGIN_LEFT + plot_width, y);
            append(svg, "<text x=\"4\" y=\"%.1f\">C%d</text>\n", y,
                   midi / SEMITONES_PER_OCTAVE - 1);
        }
    }
    // The time axis, a tick every second and a label every five.
    append(svg, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"black\"/>\n",
           MARGIN_LEFT, bottom, MARGIN_LEFT + plot_width, bottom);
    for (int second = 0; second <= static_cast<int>(length); ++second) {
        const double x = x_of(second);
        append(svg, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"black\"/>\n", x,
               bottom, x, bottom + (second % 5 == 0 ? 6.0 : 3.0));
        if (second % 5 == 0) {
            append(svg, "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%d s</text>\n", x,
                   bottom + 18, second);
        }
    }

    for (const Voice2D& voice : voices) {
        append(svg, "<g fill=\"%s\">\n", voice.colour);
        for_each_event(voice.track, [&](int note, int first, int samples) {
            if (note != REST) {
                append(svg,
                       "<rect class=\"%s\" x=\"%.2f\" y=\"%.1f\" width=\"%.2f\" "
                       "height=\"%.1f\"/>\n",
                       voice.name, x_of(seconds(first)), y_of(note),
                       seconds(samples) * PIXELS_PER_SECOND, PIXELS_PER_SEMITONE);
            }
        });
        svg += "</g>\n";
    }
    svg += "</svg>\n";
    return svg;
}
