# Sourced by the script tests after setting build and src: "cli" (an array)
# runs the build's veltrix-cli, the Windows build's .exe under Wine; "tools" is
# the folder of the Linux programs the tests start beside it (the local
# analysis-file service), the Windows build borrowing the Linux build's.
if [ -f "$build/bin/veltrix-cli.exe" ]; then
    cli=("$src/scripts/wine-run" "$build/bin/veltrix-cli.exe")
    tools=${VELTRIX_LINUX_BUILD:-$src/build}/bin
else
    cli=("$build/bin/veltrix-cli")
    tools=$build/bin
fi
