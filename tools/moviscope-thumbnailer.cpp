// Renders one frame of a movie to a PNG: moviscope-thumbnailer [--frame N] [--size WxH | -s PIXELS] IN.swf OUT.png
// Also the freedesktop thumbnailer for .swf files (moviscope.thumbnailer).
#include "engine/display/Player.h"
#include "engine/render/Renderer.h"
#include "engine/swf/Movie.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

int Usage(const char* why)
{
    std::fprintf(stderr, "moviscope-thumbnailer: %s\n"
                         "usage: moviscope-thumbnailer [--frame N] [--size WxH | -s PIXELS] INPUT.swf OUTPUT.png\n", why);
    return 1;
}

bool ParsePositive(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoi(text);
    return value > 0;
}

// Largest picture we agree to write; keeps a typo from asking for gigabytes.
constexpr int kMaxSide = 8192;

} // namespace

int main(int argc, char** argv)
{
    int frame = 0, width = 0, height = 0, fit = 0;
    std::string input, output;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--frame" && hasValue) {
            if (!ParsePositive(argv[++i], frame))
                return Usage("--frame needs a frame number from 1");
        } else if (a == "--size" && hasValue) {
            const std::string v = argv[++i];
            const size_t x = v.find('x');
            if (x == std::string::npos || !ParsePositive(v.substr(0, x), width) || !ParsePositive(v.substr(x + 1), height))
                return Usage("--size needs WIDTHxHEIGHT");
        } else if (a == "-s" && hasValue) {
            if (!ParsePositive(argv[++i], fit))
                return Usage("-s needs a size in pixels");
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return Usage(("unknown option " + a).c_str());
        } else if (input.empty()) {
            input = a;
        } else if (output.empty()) {
            output = a;
        } else {
            return Usage("too many arguments");
        }
    }
    if (output.empty())
        return Usage("an input movie and an output picture are needed");
    if (width > kMaxSide || height > kMaxSide || fit > kMaxSide)
        return Usage("the picture size is too large");

    std::shared_ptr<const swf::MovieDefinition> movie;
    try {
        movie = swf::LoadMovie(std::filesystem::path(input));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "moviscope-thumbnailer: %s: %s\n", input.c_str(), e.what());
        return 1;
    }

    // Offscreen: the thumbnailer runs from file managers without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    try {
        swf::Player player(movie);
        const int total = player.TotalFrames();
        if (frame == 0)
            frame = std::max(1, int(std::lround(total * 0.618)));
        player.GotoFrame(frame);

        const double stageW = (movie->stage.xMax - movie->stage.xMin) / 20.0;
        const double stageH = (movie->stage.yMax - movie->stage.yMin) / 20.0;
        if (width == 0) {
            width = std::max(1, int(std::lround(stageW)));
            height = std::max(1, int(std::lround(stageH)));
            if (fit > 0) {
                // The larger side becomes PIXELS, the other keeps the stage's proportions.
                const double scale = double(fit) / std::max(width, height);
                width = std::max(1, int(std::lround(width * scale)));
                height = std::max(1, int(std::lround(height * scale)));
            }
            width = std::min(width, kMaxSide);
            height = std::min(height, kMaxSide);
        }
        swf::RenderOptions options;
        options.scale = swf::ScaleMode::ShowAll;
        const QImage image = swf::RenderFrameImage(player, QSize(width, height), options);
        if (image.isNull() || !image.convertToFormat(QImage::Format_RGB32).save(QString::fromLocal8Bit(output.c_str()), "PNG")) {
            std::fprintf(stderr, "moviscope-thumbnailer: cannot write %s\n", output.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "moviscope-thumbnailer: %s: %s\n", input.c_str(), e.what());
        return 1;
    }
    return 0;
}
