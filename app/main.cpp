#include "app/player_app.h"

int main(int argc, char** argv)
{
    lirvan::theApp.InitInstance(argc, argv);
    return 0;
}
