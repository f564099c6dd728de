# Sourced by run.sh and test.sh: jobs := QX_BUILD_JOBS (a positive number), else every core.
jobs=${QX_BUILD_JOBS:-$(nproc)}
if ! [[ "$jobs" =~ ^[1-9][0-9]*$ ]]; then
  echo "$0: QX_BUILD_JOBS must be a positive number, not '$jobs'" >&2
  exit 2
fi
