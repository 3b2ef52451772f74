# Sourced by the bench scripts: make_midi_song FILE writes a 16 s MIDI song,
# played twice with strings holding each chord, piano on every beat, a bass, a
# flute in eighths and drums; format 0, 480 ticks a beat.
make_midi_song() {
  local hex
  hex=$(awk 'function ev(t, o, b) { print t, o, b }
    function note(t, len, ch, key, vel) {
      ev(t, 2, sprintf("%02x%02x%02x", 144 + ch, key, vel)); ev(t + len, 1, sprintf("%02x%02x00", 128 + ch, key)) }
    BEGIN {
      split("60 64 67 57 60 64 53 57 60 55 59 62", c)
      ev(0, 0, "ff510307270e"); ev(0, 0, "c000"); ev(0, 0, "c121"); ev(0, 0, "c230"); ev(0, 0, "c349")
      for (bar = 0; bar < 8; bar++) {
        t0 = bar * 1920; k = (bar % 4) * 3
        for (i = 1; i <= 3; i++) note(t0, 1900, 2, c[k + i], 70)
        for (beat = 0; beat < 4; beat++) {
          t = t0 + beat * 480
          for (i = 1; i <= 3; i++) note(t, 400, 0, c[k + i], 80)
          note(t, 440, 1, c[k + 1] - 24, 100)
          note(t, 100, 9, beat % 2 ? 38 : 36, 110)
          for (e = 0; e < 2; e++) {
            note(t + e * 240, 60, 9, 42, 80)
            note(t + e * 240, 220, 3, c[k + 1 + (beat * 2 + e) % 3] + 12, 90)
          }
        }
      }
    }' | sort -n -k1,1 -k2,2 | awk '
    function vlq(v,   s) { s = sprintf("%02x", v % 128); v = int(v / 128)
      while (v > 0) { s = sprintf("%02x", 128 + v % 128) s; v = int(v / 128) } return s }
    { track = track vlq($1 - at) $3; at = $1 }
    END { track = track vlq(15360 - at) "ff2f00"; n = length(track) / 2
      printf "4d546864000000060000000101e04d54726b%08x%s", n, track }')
  printf "$(sed 's/../\\x&/g' <<<"$hex")" >"$1"
}
