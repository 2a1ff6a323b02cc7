// Engine speed over every decodable corpus movie: decode time, time to an 80 x 80 thumbnail at the
// thumbnail frame (player, seek and draw, after decoding), time to draw one frame at stage size.
// Prints median and 95th percentile of each, and for every ruffle-visual movie whether a
// stage-size frame draws within a third of its frame interval.
//   engine_bench [CORPUS_DIR] [-v]
#include "engine/display/Player.h"
#include "engine/render/Renderer.h"
#include "engine/swf/Movie.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Each timing is the best of this many runs, so one scheduling hiccup does not count.
constexpr int kRuns = 3;
constexpr int kMaxStageSide = 4096;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The first run is kept apart: it pays for the renderer's per-character caches.
template <class F> double Best(F&& f, double* first = nullptr)
{
    double best = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        const auto t0 = Clock::now();
        f();
        const double ms = Ms(Clock::now() - t0);
        if (i == 0 && first)
            *first = ms;
        best = std::min(best, ms);
    }
    return best;
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = size_t(std::ceil(p * double(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

void Report(const char* what, const std::vector<double>& v)
{
    std::printf("%-24s n=%3zu  median %8.2f ms  p95 %8.2f ms  max %8.2f ms\n", what, v.size(),
                Percentile(v, 0.5), Percentile(v, 0.95), v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    fs::path corpus = MOVISCOPE_CORPUS_DIR;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-v")
            verbose = true;
        else
            corpus = a;
    }
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(corpus))
        if (e.is_regular_file() && e.path().extension() == ".swf")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());

    std::vector<double> decode, thumb, thumbCold, stage;
    int undecodable = 0, visual = 0, visualFast = 0;
    std::vector<std::string> slowVisual;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string rel = fs::relative(file, corpus).string();
        std::shared_ptr<const swf::MovieDefinition> movie;
        double dt = 0;
        try {
            dt = Best([&] { movie = swf::DecodeMovie(bytes); });
        } catch (const std::exception& e) {
            ++undecodable;
            if (verbose)
                std::printf("  undecodable %s: %s\n", rel.c_str(), e.what());
            continue;
        }
        decode.push_back(dt);

        int thumbFrame = 1;
        double cold = 0;
        const double tt = Best([&] {
            swf::Player player(movie);
            thumbFrame = std::max(1, int(std::lround(player.TotalFrames() * 0.618)));
            player.GotoFrame(thumbFrame);
            (void)swf::RenderFrameImage(player, QSize(80, 80));
        }, &cold);
        thumb.push_back(tt);
        thumbCold.push_back(cold);

        const int w = std::clamp(int(std::lround((movie->stage.xMax - movie->stage.xMin) / 20.0)), 1, kMaxStageSide);
        const int h = std::clamp(int(std::lround((movie->stage.yMax - movie->stage.yMin) / 20.0)), 1, kMaxStageSide);
        swf::Player player(movie);
        player.GotoFrame(thumbFrame);
        const double st = Best([&] { (void)swf::RenderFrameImage(player, QSize(w, h)); });
        stage.push_back(st);

        if (verbose)
            std::printf("  %-70s decode %7.2f  thumb %7.2f  stage %4dx%-4d %7.2f ms\n", rel.c_str(), dt, tt, w, h, st);
        if (rel.rfind("ruffle-visual/", 0) == 0) {
            ++visual;
            const double rate = movie->frameRate > 0 ? movie->frameRate : 12.0;
            const double budget = 1000.0 / rate / 3.0;
            if (st < budget)
                ++visualFast;
            else
                slowVisual.push_back(rel + ": " + std::to_string(st) + " ms, budget " + std::to_string(budget) + " ms");
        }
    }

    std::printf("engine_bench: %zu movies, %zu decoded, %d undecodable (best of %d runs each)\n", files.size(),
                decode.size(), undecodable, kRuns);
    Report("decode", decode);
    Report("thumbnail 80x80 (first)", thumbCold);
    Report("thumbnail 80x80 (best)", thumb);
    Report("frame at stage size", stage);
    std::printf("ruffle-visual: %d of %d draw a stage-size frame within a third of their frame interval\n",
                visualFast, visual);
    for (const std::string& s : slowVisual)
        std::printf("  too slow: %s\n", s.c_str());
    return 0;
}
