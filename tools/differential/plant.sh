#!/usr/bin/env bash
# tools/differential/plant.sh [--seeds FIRST-LAST]
#
# The differential check's own check: the harness runs once on the seeds
# (CI's by default, every option set); then each fault of the list below is
# planted into the simulator alone (the real program under Wine stays the
# reference), and the harness runs the rebuilt simulator again against the
# kept Wine runs (run.sh --again). One line tells whether it reported the
# fault: "caught (N differences)" or "missed". The planted file is restored
# after each fault, and on any exit; a file with uncommitted changes is never
# planted into. Exit status 0 only when every fault was caught.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
SEEDS=$(sed -n 's/.*run\.sh" --seeds \([0-9]*-[0-9]*\).*/\1/p' "$ROOT/cmake/e2e.cmake")
WORK=${PURGENT_PLANT_WORK:-$ROOT/build/plant}

usage() { echo "usage: tools/differential/plant.sh [--seeds FIRST-LAST]" >&2; exit 64; }
while (($#)); do
  case $1 in
    --seeds) (($# >= 2)) || usage; SEEDS=$2; shift 2 ;;
    *) usage ;;
  esac
done
[[ $SEEDS =~ ^[0-9]+-[0-9]+$ ]] || usage

# name|file|sed expression that plants the fault
FAULTS=(
  'value deletion keeps REG_SZ values|src/platform/sim/sim_key.cpp|/if (it == values_.end()) return false;/a\    if (it->type == 1) return true;'
  'value deletion keeps REG_DWORD values|src/platform/sim/sim_key.cpp|/if (it == values_.end()) return false;/a\    if (it->type == 4) return true;'
  'forced delete never clears read-only|src/platform/sim/sim_drive.cpp|s/entry->attributes = attributes \& KeptAttributes;/entry->attributes = (attributes \& KeptAttributes) | (entry->attributes \& FileAttrReadOnly);/'
  'a folder still holding files removed|src/platform/sim/sim_drive.cpp|/if (HasChildren(it->first)) return winerr::DirNotEmpty;/d'
  'protected keys opened anyway|src/platform/sim/sim_registry.cpp|s/if (key->Denied()) return winerr::AccessDenied;/(void)0;/'
  'a wrong phase text in the log|tools/purgent_sim/sim_status_view.h|/explicit SimStatusView/a\    void SetPanelText(int panel, const std::string\& text) override { RecordedStatusView::SetPanelText(panel, panel == 0 \&\& text == "Done" ? "Done." : text); }'
)

PLANTED=""
restore() { [[ -z $PLANTED ]] || git -C "$ROOT" checkout -- "$PLANTED"; PLANTED=""; }
trap restore EXIT

mkdir -p "$WORK"
PURGENT_DIFF_WORK=$WORK/run bash "$ROOT/tools/differential/run.sh" --seeds "$SEEDS" >"$WORK/unplanted.out" 2>&1 ||
  { echo "the harness does not pass without a planted fault (see $WORK/unplanted.out)"; exit 1; }
missed=0
for fault in "${FAULTS[@]}"; do
  IFS='|' read -r name file expression <<<"$fault"
  if ! git -C "$ROOT" diff --quiet -- "$file"; then
    echo "$name: not planted ($file has uncommitted changes)"; missed=$((missed + 1)); continue
  fi
  PLANTED=$file
  sed -i "$expression" "$ROOT/$file"
  if git -C "$ROOT" diff --quiet -- "$file"; then
    echo "$name: not planted (the code it changes has moved)"; missed=$((missed + 1)); restore; continue
  fi
  out=$WORK/$(echo "$name" | tr ' ' '-').out
  PURGENT_DIFF_WORK=$WORK/run bash "$ROOT/tools/differential/run.sh" --seeds "$SEEDS" --again >"$out" 2>"$out.err" || true
  restore
  found=$(sed -n 's/^differences: //p' "$out")
  if [[ -z $found ]]; then
    echo "$name: the harness did not run (see $out.err)"; missed=$((missed + 1))
  elif ((found > 0)); then
    echo "$name: caught ($found differences)"
  else
    echo "$name: missed"; missed=$((missed + 1))
  fi
done
(cd "$ROOT" && cmake --build --preset native --target purgent-sim >/dev/null)  # the simulator as committed
echo "missed: $missed of ${#FAULTS[@]}"
((missed == 0))
