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
} // namespace lumora

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: lumora-cli dump|render|play|plot|run|convert ... (or --version)\n");
    return 1;
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
  std::fprintf(stderr, "lumora-cli: unknown command '%s'\n", argv[1]);
  return 1;
}
