#include <QCoreApplication>
#include <cstdio>

// Placeholder until the admin commands land.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::fputs("usage: voucher-admin init | synth\n", stderr);
    return 2;
}
