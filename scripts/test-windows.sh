#!/usr/bin/env bash
# Cross-builds the core, the platform layer and their tests as Windows programs
# (mingw-w64) and runs the tests under Wine in a throwaway Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh windows
started=$(date +%s)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/test-windows -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake \
    -DQUINTOR_GUI=OFF -DQUINTOR_WERROR=ON -DQUINTOR_GTEST_SOURCE_DIR=/usr/src/googletest \
    "${launcher[@]}" >/dev/null
cmake --build build/test-windows -j "$(nproc)"

# Tests whose subject only exists on POSIX systems; the Windows side has tests of
# its own for the same behaviour (tests/platform/win32).
excluded=(
    # Expectations written with "/" as the path delimiter or "/x" as an absolute path.
    WithTrailingDelimiter.AddsTheDelimiterOnlyWhenMissing
    FolderPath.AddsOneDelimiterAndRefusesAnEmptyFolder
    ProfileStore.OnlyAPlainNameInAKnownLocalFolderAddressesAProfileFolder
    ProfileStore.PathsAreFormedFromTheLocalFolder
    LaunchDecision.PathsUseTheRowsBytesAndOneSeparator
    LocalCopyCommands.BulkUpdateReportsAFailedCopyOnceAndGoesOn
    'Settings.*'
    'StorageLocationTexts.*'
    # Shares reached through a mount table (on Windows the network path reaches them).
    ServerFolderLocation.SharesAreReachedWhereTheyAreMountedAndPathsStayAsTheyAre
    # Symbolic links and permission bits.
    LMDIniCtrl.WriteKeepsPermissionsAndSymbolicLinks
    ServerCopyTest.NeverWritesIntoTheSourceFolder
    ServerCopyTest.RemovesOnlyTheLeftoversOfInterruptedCopies
    ProfileFixture.AProfileFolderThatIsTheServerFolderIsNeverWritten
    StorageLocationsOnDisk.AFileIsNoFolderAndLinksDoNotHideNesting
    # Names that differ only in letter case in one folder, names that are no
    # UTF-16, names with double quotes or line breaks, names with trailing blanks or a
    # device name.
    InventoryTest.NamesEqualIgnoringCasePairUpInListingOrder
    InventoryTest.ManyNamesEachFindTheirOneTwin
    InventoryTest.HousekeepingFilesAndSubfoldersAreNeverRows
    InventoryTest.NamesInAnOldCodePageKeepTheirBytesAndReadAsWindows1252
    ProfileCopy.PlanTakesEveryFileButTheSetsIniSubfoldersAndTemporaryCopies
    ProfileCreation.OddButValidNamesMakeTheirFolder
    InventoryTest.FoldersAndNamesWithBlanksQuotesHashAndOtherScripts
    LocalCopyCommands.BulkUpdateTakesEveryServerNameAsItIs
    # The desktop's user mounts have ':' in their folder names.
    MountedShare.UserMountsOfTheDesktopAreFoundByServerAndShare
    InventoryTest.AShareWrittenAsANetworkPathIsListedWhereItIsMounted
    InventoryTest.AShareThatIsNotMountedCannotBeReachedAndSaysWhy
    LocalCopyCommands.UpdatesReadASharedServerFolderWhereItIsMountedAndWriteNothingThere
    # Open files counted in /proc.
    LocalCopyCommands.BulkUpdateIntoTheServerFolderWritesNothingAndHoldsNothingOpen
    # Wine accounts the processor time of a sleeping thread as busy.
    DelayWithMessagesTest.RealClockWithoutPumpWaitsWithoutKeepingTheProcessorBusy
)
filter="-$(IFS=:; echo "${excluded[*]}")"

wine=/usr/lib/wine/wine64
prefix=$(mktemp -d /tmp/quintor-wine.XXXXXX)
cleanup() {
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" TZ=Europe/Berlin
# The prefix is made on the first start; doing it here keeps it out of the tests' time.
"$wine" wineboot --init >/dev/null 2>&1 || true

log=build/test-windows/core_tests.log
status=0
timeout 900 "$wine" build/test-windows/tests/core_tests.exe --gtest_filter="$filter" --gtest_brief=1 \
    >"$log" 2>&1 || status=$?
grep -v '^Running main\|^Note: Google Test filter' "$log" || true

count() { sed -n "s/^\[  $1  *\] \([0-9]*\) tests\?[,.].*/\1/p" "$log" | tail -1; }
passed=$(count PASSED)
failed=$(count FAILED)
skipped=$(count SKIPPED)
echo "Wine: ${passed:-0} passed, ${failed:-0} failed, ${skipped:-0} skipped (${#excluded[@]} POSIX-only cases left out) in $(($(date +%s) - started)) s"
if [ "$status" -ne 0 ] || [ -z "$passed" ] || [ "${failed:-0}" -ne 0 ]; then
    echo "Windows tests failed (exit status $status)" >&2
    exit 1
fi
