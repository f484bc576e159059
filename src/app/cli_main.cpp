// lumora-cli: the headless tools.
#include <cstdio>
#include <cstring>

namespace lumora {
int RunDumpCommand(int argc, char** argv);
int RunRenderCommand(int argc, char** argv);
int RunPlayCommand(int argc, char** argv);
int RunPlotCommand(int argc, char** argv);
int RunConvertCommand(int argc, char** argv);
int RunRunCommand(int argc, char** argv);
int RunBenchOpenCommand(int argc, char** argv);
int RunRecoverCommand(int argc, char** argv);
} // namespace lumora

namespace {

constexpr const char* kHelp =
    "usage: lumora-cli COMMAND ...\n"
    "  dump DRAWING [REPORT]        the drawing report of a drawing file\n"
    "  render DRAWING OUT.png       the window as it would show the drawing\n"
    "  play EVENTS [options]        run an event file through the real event cycle\n"
    "  plot DRAWING OUT.pdf [--scale N] [--paper A4|A3|A2|A1|A0|Letter]\n"
    "  run SCRIPT [--save OUT.drw] [--answer TEXT]...\n"
    "  convert IN OUT               between drawing files, parts and DXF\n"
    "  recover LOG OUT.drw          the drawing a recovery log holds, as a drawing file\n"
    "  bench-open DRAWING           times reading, redrawing, picking and snapping\n"
    "common options: --home DIR, --setup NAME, --size WxH; also --version, --help\n";

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kHelp, stderr);
    return 1;
  }
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("lumora-cli %s\n", LUMORA_VERSION);
    return 0;
  }
  if (std::strcmp(argv[1], "dump") == 0) return lumora::RunDumpCommand(argc, argv);
  if (std::strcmp(argv[1], "render") == 0) return lumora::RunRenderCommand(argc, argv);
  if (std::strcmp(argv[1], "play") == 0) return lumora::RunPlayCommand(argc, argv);
  if (std::strcmp(argv[1], "plot") == 0) return lumora::RunPlotCommand(argc, argv);
  if (std::strcmp(argv[1], "run") == 0) return lumora::RunRunCommand(argc, argv);
  if (std::strcmp(argv[1], "convert") == 0) return lumora::RunConvertCommand(argc, argv);
  if (std::strcmp(argv[1], "recover") == 0) return lumora::RunRecoverCommand(argc, argv);
  if (std::strcmp(argv[1], "bench-open") == 0) return lumora::RunBenchOpenCommand(argc, argv);
  std::fprintf(stderr, "lumora-cli: unknown command '%s'\n", argv[1]);
  return 1;
}
