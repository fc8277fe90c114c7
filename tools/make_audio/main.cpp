// make_audio: synthesises the game's sound effects (8-bit mono WAV files at
// 22050 Hz), a few short music tracks and the credits music (OGG Vorbis), and
// writes the playlist table that lists the tracks. Everything comes from
// fixed seeds, so a run gives the same files every time.
//
// Usage: make_audio <data folder>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Buffer = std::vector<float>;

// A small deterministic noise source.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed) {}
  float Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) / static_cast<float>(1u << 23) - 1.0f;
  }

 private:
  std::uint32_t state_;
};

int Samples(double seconds) { return static_cast<int>(seconds * kRate); }

void Ensure(Buffer& b, int size) {
  if (static_cast<int>(b.size()) < size) b.resize(static_cast<std::size_t>(size), 0.0f);
}

// A tone with harmonics: amplitude decays exponentially (decay per second),
// with a short attack so it never clicks. The frequency may glide linearly.
void Tone(Buffer& b, double at, double dur, double f0, double f1, double amp, double decay,
          std::initializer_list<double> harmonics = {1.0}, double attack = 0.005) {
  int start = Samples(at), n = Samples(dur);
  Ensure(b, start + n);
  double phase = 0.0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = f0 + (f1 - f0) * (static_cast<double>(i) / n);
    phase += 2.0 * kPi * f / kRate;
    double env = amp * std::exp(-decay * t) * std::min(1.0, t / attack);
    double tail = std::min(1.0, static_cast<double>(n - i) / Samples(0.01));  // fade out
    double v = 0.0;
    int k = 1;
    for (double h : harmonics) v += h * std::sin(phase * k++);
    b[static_cast<std::size_t>(start + i)] += static_cast<float>(v * env * tail);
  }
}

// Noise through a one-pole low-pass whose cutoff glides from c0 to c1 (Hz),
// optionally minus a low-pass of itself (a rough band-pass).
void NoiseBurst(Buffer& b, double at, double dur, double c0, double c1, double amp, double decay,
                std::uint32_t seed, double attack = 0.002, bool band = false) {
  int start = Samples(at), n = Samples(dur);
  Ensure(b, start + n);
  Noise noise(seed);
  double lp = 0.0, lp2 = 0.0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double cutoff = c0 + (c1 - c0) * (static_cast<double>(i) / n);
    double a = 1.0 - std::exp(-2.0 * kPi * cutoff / kRate);
    lp += a * (noise.Next() - lp);
    lp2 += 0.02 * (lp - lp2);
    double v = band ? lp - lp2 : lp;
    double env = amp * std::exp(-decay * t) * std::min(1.0, t / attack);
    double tail = std::min(1.0, static_cast<double>(n - i) / Samples(0.01));
    b[static_cast<std::size_t>(start + i)] += static_cast<float>(v * env * tail);
  }
}

// An explosion: a low thump and a rumble of dark noise.
void Explosion(Buffer& b, double at, double dur, double amp, std::uint32_t seed) {
  Tone(b, at, dur * 0.6, 90, 35, amp * 0.8, 6.0);
  NoiseBurst(b, at, dur, 2500, 200, amp * 2.2, 4.0, seed);
}

// A gun shot: a sharp crack and a short boom.
void Shot(Buffer& b, double at, double amp, std::uint32_t seed) {
  NoiseBurst(b, at, 0.12, 6000, 1500, amp * 1.2, 35.0, seed);
  Tone(b, at, 0.12, 150, 60, amp * 0.5, 25.0);
}

// An engine: a buzzing low tone with a slow wobble and some noise.
void Engine(Buffer& b, double at, double dur, double f0, double f1, double amp, std::uint32_t seed) {
  int start = Samples(at), n = Samples(dur);
  Ensure(b, start + n);
  double phase = 0.0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = f0 + (f1 - f0) * (static_cast<double>(i) / n);
    phase += 2.0 * kPi * f * (1.0 + 0.02 * std::sin(2 * kPi * 7 * t)) / kRate;
    double saw = 2.0 * (phase / (2 * kPi) - std::floor(phase / (2 * kPi) + 0.5));
    double env = amp * std::min(1.0, t / 0.15) * std::min(1.0, static_cast<double>(n - i) / Samples(0.2));
    b[static_cast<std::size_t>(start + i)] += static_cast<float>(saw * env * 0.6);
  }
  NoiseBurst(b, at, dur, 900, 900, amp * 1.2, 0.0, seed, 0.15);
}

void Click(Buffer& b, double at, double freq, double amp) {
  Tone(b, at, 0.04, freq, freq * 0.8, amp, 90.0, {1.0, 0.3}, 0.0005);
  NoiseBurst(b, at, 0.015, 8000, 3000, amp * 0.6, 200.0, 7, 0.0005);
}

void Normalise(Buffer& b, double peak) {
  float m = 0.0f;
  for (float v : b) m = std::max(m, std::fabs(v));
  if (m > 0.0f) {
    for (float& v : b) v = static_cast<float>(v * peak / m);
  }
}

void Put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// 8-bit unsigned mono PCM.
bool WriteWav(const std::filesystem::path& path, const Buffer& b) {
  std::string s = "RIFF";
  auto n = static_cast<std::uint32_t>(b.size());
  Put32(s, 36 + n + (n & 1));
  s += "WAVEfmt ";
  Put32(s, 16);
  Put16(s, 1);  // PCM
  Put16(s, 1);  // mono
  Put32(s, kRate);
  Put32(s, kRate);  // bytes per second
  Put16(s, 1);      // block align
  Put16(s, 8);      // bits
  s += "data";
  Put32(s, n);
  for (float v : b) {
    int q = static_cast<int>(std::lround(std::clamp(v, -1.0f, 1.0f) * 127.0f)) + 128;
    s += static_cast<char>(std::clamp(q, 0, 255));
  }
  if (n & 1) s += static_cast<char>(128);
  return WriteFile(path, s);
}

bool WriteOgg(const std::filesystem::path& path, const Buffer& b, float quality, int serial) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 1, kRate, quality) != 0) return false;
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "ENCODER", "make_audio");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);

  std::string bytes;
  auto flush = [&](bool force) {
    ogg_page og;
    while (force ? ogg_stream_flush(&os, &og) : ogg_stream_pageout(&os, &og)) {
      bytes.append(reinterpret_cast<const char*>(og.header), static_cast<std::size_t>(og.header_len));
      bytes.append(reinterpret_cast<const char*>(og.body), static_cast<std::size_t>(og.body_len));
    }
  };
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  flush(true);

  auto drain = [&] {
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        flush(false);
      }
    }
  };
  constexpr int kChunk = 4096;
  for (std::size_t pos = 0; pos < b.size(); pos += kChunk) {
    int n = static_cast<int>(std::min<std::size_t>(kChunk, b.size() - pos));
    float** in = vorbis_analysis_buffer(&vd, n);
    std::copy(b.begin() + static_cast<std::ptrdiff_t>(pos), b.begin() + static_cast<std::ptrdiff_t>(pos) + n, in[0]);
    vorbis_analysis_wrote(&vd, n);
    drain();
  }
  vorbis_analysis_wrote(&vd, 0);
  drain();
  flush(true);

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return WriteFile(path, bytes);
}

// ---------------------------------------------------------------- effects

struct Effect {
  const char* name;
  std::function<void(Buffer&)> make;
};

std::vector<Effect> Effects() {
  return {
      {"AirStrike", [](Buffer& b) {
         NoiseBurst(b, 0.0, 0.6, 400, 3000, 0.6, 0.0, 11, 0.4, true);  // dive
         Explosion(b, 0.55, 0.8, 0.9, 12);
         Explosion(b, 0.75, 0.6, 0.6, 13);
       }},
      {"AirToAirCombat", [](Buffer& b) {
         Engine(b, 0.0, 1.2, 110, 140, 0.25, 21);
         for (int i = 0; i < 8; ++i) Shot(b, 0.1 + i * 0.07, 0.4, 22 + i);
         for (int i = 0; i < 5; ++i) Shot(b, 0.75 + i * 0.07, 0.3, 40 + i);
       }},
      {"ButtonClick", [](Buffer& b) { Click(b, 0.0, 1800, 0.8); }},
      {"CheckboxChanged", [](Buffer& b) {
         Click(b, 0.0, 1400, 0.7);
         Click(b, 0.035, 2100, 0.5);
       }},
      {"ComboboxChanged", [](Buffer& b) {
         Click(b, 0.0, 1200, 0.6);
         Tone(b, 0.01, 0.07, 900, 1300, 0.3, 30.0);
       }},
      {"EditboxChanged", [](Buffer& b) { Click(b, 0.0, 2600, 0.4); }},
      {"EditboxString", [](Buffer& b) {
         Tone(b, 0.0, 0.07, 880, 880, 0.5, 20.0, {1.0, 0.2});
         Tone(b, 0.07, 0.1, 1320, 1320, 0.5, 20.0, {1.0, 0.2});
       }},
      {"InfantryMarching", [](Buffer& b) {
         for (int i = 0; i < 6; ++i) {
           double t = i * 0.24;
           Tone(b, t, 0.12, 80, 50, 0.6, 30.0);
           NoiseBurst(b, t, 0.1, 2500, 600, 0.7, 30.0, 70 + i);
         }
       }},
      {"IntroSoundGameLogo", [](Buffer& b) {
         const double notes[] = {523.25, 659.25, 783.99, 1046.5};
         for (int i = 0; i < 4; ++i) Tone(b, i * 0.12, 1.4 - i * 0.12, notes[i], notes[i], 0.3, 2.5, {1.0, 0.4, 0.15});
       }},
      {"IntroSoundLogo", [](Buffer& b) {
         Tone(b, 0.0, 1.2, 660, 660, 0.5, 3.0, {1.0, 0.0, 0.3, 0.0, 0.1});
         Tone(b, 0.0, 1.2, 1663, 1663, 0.15, 5.0);  // the bell's inharmonic partial
       }},
      {"ItemClick", [](Buffer& b) { Click(b, 0.0, 1500, 0.7); }},
      {"LandCombat", [](Buffer& b) {
         const double at[] = {0.0, 0.13, 0.21, 0.4, 0.55, 0.62};
         for (int i = 0; i < 6; ++i) Shot(b, at[i], 0.5, 100 + i);
         Explosion(b, 0.3, 0.8, 0.8, 110);
       }},
      {"ListboxDoubleClick", [](Buffer& b) {
         Click(b, 0.0, 1600, 0.7);
         Click(b, 0.06, 1600, 0.7);
       }},
      {"ListboxSelection", [](Buffer& b) { Click(b, 0.0, 1100, 0.6); }},
      {"MainMenuMusicLoop", [](Buffer& b) {
         // One bar of a march: a drum on each beat under a C major chord.
         for (int i = 0; i < 4; ++i) {
           Tone(b, i * 0.375, 0.3, 70, 45, 0.5, 12.0);
           NoiseBurst(b, i * 0.375 + 0.1875, 0.15, 5000, 2000, 0.3, 25.0, 120 + i);
         }
         for (double f : {261.63, 329.63, 392.0}) Tone(b, 0.0, 1.5, f, f, 0.15, 1.0, {1.0, 0.3}, 0.05);
       }},
      {"NuclearAttack", [](Buffer& b) {
         Explosion(b, 0.0, 1.5, 1.0, 130);
         NoiseBurst(b, 0.0, 1.5, 300, 80, 1.5, 1.2, 131, 0.2);
       }},
      {"PlaneFlying", [](Buffer& b) { Engine(b, 0.0, 1.4, 130, 105, 0.5, 140); }},
      {"RadiobuttonChanged", [](Buffer& b) { Click(b, 0.0, 2000, 0.6); }},
      {"Scrolling", [](Buffer& b) { NoiseBurst(b, 0.0, 0.3, 800, 2500, 0.6, 6.0, 150, 0.1, true); }},
      {"ShoreBombardment", [](Buffer& b) {
         for (int i = 0; i < 3; ++i) {
           Tone(b, i * 0.35, 0.5, 60, 40, 0.6, 6.0);
           NoiseBurst(b, i * 0.35, 0.5, 1500, 200, 1.5, 6.0, 160 + i);
         }
       }},
      {"SliderChanged", [](Buffer& b) { Click(b, 0.0, 3000, 0.4); }},
      {"StrategicBombardment", [](Buffer& b) {
         Tone(b, 0.0, 0.5, 1800, 700, 0.25, 0.5);  // falling whistle
         for (int i = 0; i < 4; ++i) Explosion(b, 0.5 + i * 0.16, 0.5, 0.7, 170 + i);
       }},
      {"TankRolling", [](Buffer& b) {
         Engine(b, 0.0, 1.3, 55, 60, 0.5, 180);
         for (int i = 0; i < 10; ++i) Click(b, 0.05 + i * 0.12, 700, 0.25);  // the tracks
       }},
      {"TruckDriving", [](Buffer& b) { Engine(b, 0.0, 1.2, 75, 95, 0.5, 190); }},
      {"drum_roll", [](Buffer& b) {
         for (int i = 0; i < 24; ++i) {
           double amp = 0.3 + 0.02 * i;
           NoiseBurst(b, i * 0.045, 0.06, 6000, 2500, amp, 40.0, 200 + i);
           Tone(b, i * 0.045, 0.05, 220, 180, amp * 0.4, 50.0);
         }
       }},
      {"NavalGun", [](Buffer& b) {
         Tone(b, 0.0, 0.8, 55, 35, 0.7, 5.0);
         NoiseBurst(b, 0.0, 1.0, 2500, 150, 1.8, 4.0, 210);
       }},
      {"AirRecon", [](Buffer& b) {
         Engine(b, 0.0, 1.2, 150, 110, 0.4, 220);  // passing overhead
         NoiseBurst(b, 0.3, 0.6, 500, 1500, 0.4, 0.0, 221, 0.3, true);
       }},
      {"StrategicDeployLand", [](Buffer& b) {
         Engine(b, 0.0, 1.0, 80, 80, 0.3, 230);
         for (int i = 0; i < 4; ++i) Tone(b, i * 0.25, 0.12, 80, 50, 0.5, 30.0);
       }},
      {"Paradrop", [](Buffer& b) {
         Engine(b, 0.0, 1.2, 120, 115, 0.25, 240);
         for (int i = 0; i < 3; ++i) NoiseBurst(b, 0.3 + i * 0.25, 0.2, 400, 1500, 0.5, 10.0, 241 + i, 0.02, true);
       }},
      {"Invasion", [](Buffer& b) {
         NoiseBurst(b, 0.0, 1.5, 600, 600, 0.7, 0.0, 250, 0.5, true);  // surf
         for (int i = 0; i < 5; ++i) Shot(b, 0.4 + i * 0.17, 0.35, 251 + i);
         Explosion(b, 0.9, 0.6, 0.5, 260);
       }},
      {"Buying", [](Buffer& b) {
         Click(b, 0.0, 900, 0.5);
         Tone(b, 0.08, 0.42, 1568, 1568, 0.4, 6.0, {1.0, 0.0, 0.2});
         Tone(b, 0.08, 0.42, 2093, 2093, 0.25, 7.0);
       }},
  };
}

// ---------------------------------------------------------------- music

double NoteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// A track: a chord per bar as a soft pad, a bass note on each beat, an
// arpeggio over the chord and a light snare; chords are MIDI root notes
// with minor flags.
struct Chord {
  int root;
  bool minor;
};

Buffer Song(const std::vector<Chord>& chords, double bpm, int repeats, std::uint32_t seed, bool drums) {
  Buffer b;
  double beat = 60.0 / bpm, bar = beat * 4;
  int index = 0;
  for (int r = 0; r < repeats; ++r) {
    for (const Chord& c : chords) {
      double t = index++ * bar;
      int third = c.root + (c.minor ? 3 : 4), fifth = c.root + 7;
      for (int n : {c.root, third, fifth}) Tone(b, t, bar, NoteHz(n), NoteHz(n), 0.12, 0.4, {1.0, 0.25, 0.1}, 0.15);
      for (int k = 0; k < 4; ++k) Tone(b, t + k * beat, beat, NoteHz(c.root - 12), NoteHz(c.root - 12), 0.3, 3.0, {1.0, 0.5});
      const int arp[] = {c.root + 12, third + 12, fifth + 12, third + 12};
      for (int k = 0; k < 8; ++k) {
        int n = arp[k % 4];
        Tone(b, t + k * beat / 2, beat / 2, NoteHz(n), NoteHz(n), 0.1, 6.0, {1.0, 0.2});
      }
      if (drums) {
        for (int k = 1; k < 4; k += 2) NoiseBurst(b, t + k * beat, 0.12, 5000, 2500, 0.15, 25.0, seed++);
      }
    }
  }
  // A closing chord so the track ends and does not stop mid-bar.
  double t = index * bar;
  const Chord& first = chords.front();
  for (int n : {first.root, first.root + (first.minor ? 3 : 4), first.root + 7}) {
    Tone(b, t, bar, NoteHz(n), NoteHz(n), 0.15, 1.5, {1.0, 0.25}, 0.02);
  }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_audio <data folder>\n");
    return 2;
  }
  const std::filesystem::path data = argv[1];
  bool ok = true;
  std::size_t total = 0;

  for (const Effect& e : Effects()) {
    Buffer b;
    e.make(b);
    Normalise(b, 0.9);
    ok = WriteWav(data / "sound" / (std::string(e.name) + ".wav"), b) && ok;
    total += b.size();
  }
  std::printf("%zu effects, %zu bytes of samples\n", Effects().size(), total);

  const float kQuality = -0.1f;  // the lowest Vorbis quality: small files
  struct Track {
    const char* file;
    Buffer samples;
  };
  std::vector<Track> tracks;
  // C major, a steady march.
  tracks.push_back({"track01.ogg", Song({{60, false}, {65, false}, {67, false}, {60, false}}, 100, 2, 300, true)});
  // A minor, slower and darker.
  tracks.push_back({"track02.ogg", Song({{57, true}, {53, false}, {48, false}, {55, false}}, 84, 2, 400, false)});
  // D major, brighter.
  tracks.push_back({"track03.ogg", Song({{62, false}, {57, false}, {59, true}, {55, false}}, 112, 3, 500, true)});
  std::string playlist = "; The general playlist: played when no human country has music of its own.\n";
  int serial = 1;
  for (Track& t : tracks) {
    Normalise(t.samples, 0.8);
    ok = WriteOgg(data / "Music" / t.file, t.samples, kQuality, serial++) && ok;
    playlist += std::string("data/Music/") + t.file + "\n";
  }
  ok = WriteFile(data / "Music" / "general.txt", playlist) && ok;
  ok = WriteFile(data / "Music" / "playlists.csv",
                 "; Playlist number;playlist file. A country's playlist has the country's id as its\n"
                 "; number; -1 is the general playlist.\n"
                 "-1;data/Music/general.txt\n") && ok;

  // The credits: F major, slow.
  Buffer credits = Song({{53, false}, {50, true}, {58, false}, {60, false}, {53, false}}, 72, 1, 600, false);
  Normalise(credits, 0.8);
  ok = WriteOgg(data / "credits.ogg", credits, kQuality, serial++) && ok;

  if (!ok) {
    std::fprintf(stderr, "make_audio: could not write every file\n");
    return 1;
  }
  return 0;
}
