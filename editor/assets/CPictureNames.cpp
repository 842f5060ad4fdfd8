#include "CPictureNames.h"

namespace {

// Kits 7 and 8 are the crowd's, in containers and shapes of their own.
bool IsCrowdKit(int kit) {
    return kit == 7 || kit == 8;
}

} // namespace

std::string CPictureNames::KitContainer(int team, int kit) {
    return std::string("playerkittexobj.texobj463104248046875__texture") +
           (IsCrowdKit(kit) ? "462677001953125" : "23") + "__" + std::to_string(kit) + "_0_" +
           std::to_string(team) + ".fsh";
}

std::string CPictureNames::KitShape(int kit) {
    return IsCrowdKit(kit) ? "crwd" : "tp00";
}

std::string CPictureNames::LogoContainer(int team) {
    return "transitiontexobj.texobj85302734375__texture52777099609375__" + std::to_string(team) +
           ".fsh";
}

std::string CPictureNames::LogoShape() {
    return "logo";
}

std::string CPictureNames::TextureContainer(int number) {
    return "playertexobj.texobj11__texture12__" + std::to_string(number) + "_0_0.fsh";
}

std::string CPictureNames::TextureShape() {
    return "tp01";
}
