# Sourced by the browser tests. headless_chromium PROFILE CHROMIUM-ARGS...:
# headless Chromium with a new empty profile PROFILE under $PROFILES (the
# machine has no network to reach); its messages go to $CHROMIUM_LOG.
headless_chromium() {
  local profile=$1; shift
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$PROFILES/$profile" "$@" 2>>"$CHROMIUM_LOG"
}
