// Every event stops itself with a flag of its own number: each option sets
// the flag (1 for the first option, 2 for the second), and the condition
// asks that it is still 0. Later events read these flags to follow the
// choices made (flag 101 = 1: the pact was signed).
#include "make_events/europe1939_events.h"

#include <utility>

namespace evscript {

namespace {

constexpr int kAxis = 2;  // the alliance code whose group is the Axis (2 and 5)

// Land unit types of the scenario.
constexpr double kInfantryDivision = 0, kInfantryCorps = 1, kMechanizedCorps = 3, kArmouredCorps = 5;
// Ship types.
constexpr double kCruiser = 42, kCargoShip = 44;

class Script {
 public:
  explicit Script(const ScenarioGeo& geo) : geo_(geo) {}

  int C(const char* code) const { return geo_.Country(code); }
  Hex City(const char* name) const { return geo_.City(name); }
  int Sea(const char* name) const { return geo_.SeaNode(name); }

  Event& Add(int id, const char* country, bool visible, Date begin, Date end, const char* file) {
    Event e;
    e.id = id;
    e.country = C(country);
    e.visible = visible;
    e.stopFlag = id;
    e.begin = begin;
    e.end = end;
    e.file = file;
    events_.push_back(std::move(e));
    return events_.back();
  }

  // The condition: the event's own flag still 0, and the further tests.
  static void When(Event& e, std::vector<Expression> tests, std::vector<Condition> children = {}) {
    e.condition.any = false;
    e.condition.expressions.clear();
    e.condition.expressions.push_back(FlagIs(e.stopFlag, 0));
    for (Expression& x : tests) e.condition.expressions.push_back(std::move(x));
    e.condition.children = std::move(children);
  }

  // An option; its first effect sets the stop flag to the option's number.
  static Option& Choice(Event& e, int chanceAI, const char* caption, const char* tooltip, std::vector<Effect> effects) {
    Option o;
    o.chanceAI = chanceAI;
    o.description = caption;
    o.tooltip = tooltip;
    o.effects.push_back(SetFlag(e.stopFlag, static_cast<int>(e.options.size()) + 1));
    for (Effect& f : effects) o.effects.push_back(std::move(f));
    e.options.push_back(std::move(o));
    return e.options.back();
  }

  // The hexes of a region change hands: controller and owner (and the
  // original owner when the land is ceded for good).
  std::vector<Effect> Transfer(const char* from, int to, bool ceded, const std::function<bool(int, int)>& inside) const {
    std::vector<Effect> effects;
    for (const Stripe& s : geo_.Region(from, inside)) {
      effects.push_back(Do(ceded ? "HexStripe.ChangeControllerOwnerAndOriginalOwner" : "HexStripe.ChangeControllerAndOwner",
                           {double(s.x), double(s.y0), double(s.count), double(to)}));
    }
    return effects;
  }

  Effect DeclareWar(const char* a, const char* b) const {
    return Do("Country.DeclareWarOnCountry", {double(C(a)), double(C(b))});
  }
  Effect Join(const char* code) const { return Do("Country.SetAllianceEntry", {double(C(code)), 100}); }
  Effect Orientation(const char* code, int value) const {
    return Do("Country.SetOrientation", {double(C(code)), double(value)});
  }
  Effect Points(const char* code, double amount) const {
    return Do("Country.ChangeProductionPoints", {double(C(code)), amount});
  }
  Effect CityPoints(const char* city, double amount) const {
    const Hex h = City(city);
    return Do("City.ChangeProductionPoints", {double(h.x), double(h.y), amount});
  }
  // A target of the computer's offensives: the city, and the strength its
  // units gather before they attack.
  Effect AddTarget(const char* code, const char* city, int strength) const {
    const Hex h = City(city);
    return Do("AI.AddInvasionTarget", {double(C(code)), double(h.x), double(h.y), double(strength)});
  }
  Effect RemoveTarget(const char* code, const char* city) const {
    const Hex h = City(city);
    return Do("AI.RemoveInvasionTarget", {double(C(code)), double(h.x), double(h.y)});
  }
  Expression War(const char* a, const char* b, bool war) const { return AtWar(C(a), C(b), war); }
  Expression Axis(const char* city) const {
    const Hex h = City(city);
    return ControlledByAlliance(h.x, h.y, kAxis);
  }

  std::vector<Event> Take() { return std::move(events_); }

 private:
  const ScenarioGeo& geo_;
  std::vector<Event> events_;
};

template <typename... Lists>
std::vector<Effect> Join(std::vector<Effect> first, Lists... rest) {
  (first.insert(first.end(), rest.begin(), rest.end()), ...);
  return first;
}

// Orientation codes.
constexpr int kProAllied = 3, kProAxis = 4, kProCommunist = 5;

const char* const k1939 = "europe1939_1939.xml";
const char* const k1940 = "europe1939_1940.xml";
const char* const k1941 = "europe1939_1941.xml";

void Events1939(Script& s) {
  {
    Event& e = s.Add(101, "DE", true, {1, 9, 1939}, {31, 12, 1939}, k1939);
    e.title = "The German-Soviet Pact";
    e.description =
        "Ribbentrop is back from Moscow with a treaty of non-aggression and a secret protocol: Poland is to be "
        "divided along the Vistula and the San, and the Baltic states and Finland fall to the Soviet sphere. "
        "Soviet grain and oil would flow to the Reich. Shall the pact stand?";
    e.image = "europe1939_pact.png";
    Script::When(e, {});
    Script::Choice(e, 95, "Sign the pact and its secret protocol",
                   "The Soviet Union takes its share of Poland; trade with Moscow feeds the war economy.",
                   {s.Points("DE", 5), s.Points("SU", 3), Do("Country.ChangeDiplomaticPoints", {double(s.C("DE")), 2})});
    Script::Choice(e, 5, "Refuse Stalin's terms", "No partition, no Soviet raw materials: Germany fights alone in the east.",
                   {Do("Country.ChangeWarEconomy", {double(s.C("DE")), -5}),
                    Do("Country.ChangeDiplomaticPoints", {double(s.C("SU")), -2})});
  }
  {
    Event& e = s.Add(102, "SU", true, {16, 9, 1939}, {31, 12, 1939}, k1939);
    e.title = "The partition of Poland";
    e.description =
        "The Polish armies are reeling before the Wehrmacht. Under the secret protocol the Red Army may now cross "
        "into the eastern provinces of Poland, up to the Bug, and hand Wilno to Lithuania.";
    e.image = "europe1939_partition.png";
    Script::When(e, {FlagIs(101, 1), s.War("SU", "DE", false)});
    const Hex wilno = s.City("Wilno");
    Script::Choice(e, 90, "The Red Army crosses the Polish border",
                   "Eastern Poland becomes Soviet; Wilno goes to Lithuania.",
                   Join(s.Transfer("PL", s.C("SU"), false, [](int x, int) { return x >= 55; }),
                        std::vector<Effect>{
                            Do("HexStripe.ChangeControllerAndOwner", {double(wilno.x), double(wilno.y), 1, double(s.C("LT"))}),
                            Do("Country.ChangeSocialUnrest", {double(s.C("PL")), 20})}));
    Script::Choice(e, 10, "Stay behind the border", "Poland is left to Germany.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("SU")), 1})});
  }
  {
    Event& e = s.Add(103, "SU", true, {1, 10, 1939}, {31, 12, 1939}, k1939);
    e.title = "Mutual assistance pacts with the Baltic states";
    e.description =
        "With Poland gone, Moscow presses Estonia, Latvia and Lithuania to sign pacts of mutual assistance and to "
        "open their ports and airfields to Soviet garrisons.";
    e.image = "europe1939_baltic.png";
    Script::When(e, {FlagIs(102, 1)});
    std::vector<Effect> pressed;
    for (const char* code : {"EE", "LV", "LT"}) {
      pressed.push_back(s.Orientation(code, kProCommunist));
      pressed.push_back(Do("Country.ChangeAllianceEntry", {double(s.C(code)), 20}));
    }
    Script::Choice(e, 85, "Demand bases in the Baltic states", "The three states lean to Moscow.", pressed);
    Script::Choice(e, 15, "Leave the Baltic states alone", "They stay neutral.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("SU")), 1})});
  }
  {
    // Warsaw's fall ends the campaign: the government leaves the country,
    // the army lays down its arms and Germany takes what is left west of
    // the demarcation line (the partition gives the east to the Soviet
    // Union). Germany's offensive in Poland is over.
    Event& e = s.Add(133, "PL", true, {1, 9, 1939}, {31, 12, 1941}, k1939);
    e.title = "Warsaw capitulates";
    e.description =
        "Warsaw has fallen after a siege of three weeks. The government has crossed into Romania; the last armies "
        "are cut off and out of ammunition. General Rommel signs the capitulation of the capital.";
    e.image = "europe1939_partition.png";
    Script::When(e, {s.Axis("Warsaw")});
    const double pl = s.C("PL");
    std::vector<Effect> capitulation = {Do("Country.KillAllLandUnits", {pl}), Do("Country.KillAllAirUnits", {pl}),
                                        Do("Country.KillAllNavalUnits", {pl}), Do("Country.KillAllUnitsInReserve", {pl})};
    for (Effect& f : s.Transfer("PL", s.C("DE"), false, [](int x, int) { return x < 55; })) capitulation.push_back(std::move(f));
    for (Effect f : {Do("Country.ChangeTerritoryControllerOwnerAndOriginalOwner", {pl, double(s.C("DE"))}),
                     Do("Country.SetActive", {pl, 0}), s.RemoveTarget("DE", "Lodz"), s.RemoveTarget("DE", "Warsaw")}) {
      capitulation.push_back(std::move(f));
    }
    Script::Choice(e, 100, "Capitulate", "Poland leaves the war; its land is occupied.", capitulation);
    Script::Choice(e, 0, "Fight on from the eastern marshes", "The war goes on without the capital; unrest grows.",
                   {Do("Country.ChangeSocialUnrest", {pl, 30})});
  }
  {
    // The offensive in the West moves on as its stages are taken (hidden:
    // the computer's plans only).
    Event& e = s.Add(134, "DE", false, {1, 9, 1939}, {31, 12, 1942}, k1939);
    e.title = "Liege is taken";
    e.description = "The Belgian forts have fallen; the offensive turns on Reims.";
    e.image = "europe1939_fall_gelb.png";
    Script::When(e, {s.Axis("Liege")});
    Script::Choice(e, 100, "Drive on", "Liege is no longer a target.", {s.RemoveTarget("DE", "Liege")});
  }
  {
    Event& e = s.Add(135, "DE", false, {1, 9, 1939}, {31, 12, 1942}, k1939);
    e.title = "Reims is taken";
    e.description = "The front in Champagne has broken; the road to Paris is open.";
    e.image = "europe1939_fall_gelb.png";
    Script::When(e, {s.Axis("Reims")});
    Script::Choice(e, 100, "Drive on", "Reims is no longer a target.", {s.RemoveTarget("DE", "Reims")});
  }
  {
    Event& e = s.Add(104, "SU", true, {16, 11, 1939}, {31, 3, 1940}, k1939);
    e.title = "The Winter War";
    e.description =
        "Finland refuses to give up the Karelian Isthmus and the islands of the Gulf of Finland. Leningrad lies "
        "within the range of Finnish guns. Should the Red Army settle the matter?";
    e.image = "europe1939_winter_war.png";
    Script::When(e, {FlagIs(101, 1), s.War("SU", "FI", false), s.War("SU", "DE", false)});
    Script::Choice(e, 80, "Attack Finland", "War with Finland; the Finns mobilise everything they have.",
                   {s.DeclareWar("SU", "FI"), Do("Country.ChangeWarEconomy", {double(s.C("FI")), 20})});
    Script::Choice(e, 20, "Keep negotiating with Helsinki", "Finland stays at peace.",
                   {Do("Country.ChangeAllianceEntry", {double(s.C("FI")), 10})});
  }
}

void Events1940(Script& s) {
  {
    Event& e = s.Add(105, "FI", true, {1, 3, 1940}, {31, 12, 1940}, k1940);
    e.title = "The Moscow Peace";
    e.description =
        "The Mannerheim Line has broken and the army is exhausted. Moscow offers peace for the Karelian Isthmus, "
        "Viipuri and the shores of Lake Ladoga.";
    e.image = "europe1939_winter_war.png";
    Script::When(e, {FlagIs(104, 1), s.War("FI", "SU", true)});
    Script::Choice(e, 75, "Accept the Soviet terms", "Peace; Karelia is ceded to the Soviet Union.",
                   Join(std::vector<Effect>{Do("Country.MakePeace", {double(s.C("FI")), 0})},
                        s.Transfer("FI", s.C("SU"), true, [](int x, int y) { return x >= 63 && y >= 4; }),
                        std::vector<Effect>{Do("Country.ChangeSocialUnrest", {double(s.C("FI")), 10}),
                                            s.RemoveTarget("SU", "Viipuri")}));
    Script::Choice(e, 25, "Fight on and hope for help from the West", "The war goes on.",
                   {Do("Country.ChangeSocialUnrest", {double(s.C("FI")), 20}),
                    Do("Country.ChangeWarEconomy", {double(s.C("FI")), 10})});
  }
  {
    Event& e = s.Add(106, "DE", true, {1, 4, 1940}, {31, 12, 1940}, k1940);
    e.title = "Operation Weserubung";
    e.description =
        "The Royal Navy is mining Norwegian waters, and the Swedish iron ore comes by way of Narvik. The staff has "
        "a plan to seize Denmark and Norway in one stroke from the sea and the air.";
    e.image = "europe1939_weserubung.png";
    Script::When(e, {s.War("DE", "NO", false), s.War("DE", "DK", false)});
    Script::Choice(e, 70, "Occupy Denmark and Norway", "War with Denmark and Norway.",
                   {s.DeclareWar("DE", "DK"), s.DeclareWar("DE", "NO")});
    Script::Choice(e, 30, "Respect Scandinavian neutrality", "The ore route stays exposed.", {s.Points("DE", -3)});
  }
  {
    Event& e = s.Add(107, "DE", true, {1, 5, 1940}, {31, 12, 1940}, k1940);
    e.title = "Fall Gelb: the offensive in the West";
    e.description =
        "The armoured divisions stand ready behind the Eifel. While the Allies look for a new Schlieffen plan in "
        "Belgium, the panzers could cross the Ardennes and the Meuse at Sedan and drive for the Channel.";
    e.image = "europe1939_fall_gelb.png";
    Script::When(e, {s.War("DE", "BE", false), s.War("DE", "FR", true)});
    // The panzer group that crosses the Ardennes joins from the reserve: the
    // computer deploys it where the front needs it.
    Script::Choice(e, 85, "Strike through the Ardennes",
                   "War with the Netherlands, Belgium and Luxembourg; Panzer Group Kleist and XXXIX Panzer Corps join.",
                   {s.DeclareWar("DE", "NL"), s.DeclareWar("DE", "BE"), s.DeclareWar("DE", "LU"),
                    Do("Hex.AddLandUnit", {-1, -1, double(s.C("DE")), kArmouredCorps, 3, 100}, {"Panzer Group Kleist"}),
                    Do("Hex.AddLandUnit", {-1, -1, double(s.C("DE")), kArmouredCorps, 3, 100}, {"XXXIX Panzer Corps"})});
    Script::Choice(e, 15, "Wait behind the West Wall", "The phoney war goes on.",
                   {Do("Country.ChangeSocialUnrest", {double(s.C("DE")), 5})});
  }
  {
    Event& e = s.Add(108, "UK", true, {1, 5, 1940}, {31, 12, 1940}, k1940);
    e.title = "Churchill becomes Prime Minister";
    e.description =
        "After the failure in Norway and the German attack in the West, Chamberlain's government falls. The King "
        "must send for Winston Churchill or for Lord Halifax.";
    e.image = "europe1939_churchill.png";
    Script::When(e, {}, {Any({FlagIs(106, 1), FlagIs(107, 1)})});
    Script::Choice(e, 85, "Churchill: we shall never surrender", "Political strength and war economy rise.",
                   {Do("Country.ChangePoliticalStrength", {double(s.C("UK")), 5}),
                    Do("Country.ChangeWarEconomy", {double(s.C("UK")), 10})});
    Script::Choice(e, 15, "Halifax: sound out Mussolini about terms", "Diplomacy first; resolve weakens.",
                   {Do("Country.ChangePoliticalStrength", {double(s.C("UK")), -10}),
                    Do("Country.ChangeDiplomaticPoints", {double(s.C("UK")), 3})});
  }
  {
    Event& e = s.Add(109, "IT", true, {1, 6, 1940}, {31, 12, 1941}, k1940);
    e.title = "Italy enters the war";
    e.description =
        "France is collapsing. Mussolini needs a few thousand dead to sit at the peace table; the army is not "
        "ready, but the war may be over before it has to be.";
    e.image = "europe1939_italy.png";
    Script::When(e, {FlagIs(130, 0), s.War("IT", "FR", false)}, {Any({s.Axis("Paris"), FlagIs(107, 1)})});
    // War on France brings the whole of the two alliances to war, Britain too.
    Script::Choice(e, 80, "Declare war on France and Britain", "Italy joins the war at Germany's side.",
                   {s.DeclareWar("IT", "FR"), Do("Country.ChangeWarEconomy", {double(s.C("IT")), 10})});
    Script::Choice(e, 20, "Stay non-belligerent", "Italy waits.", {Do("Country.ChangeDiplomaticPoints", {double(s.C("IT")), 2})});
  }
  {
    // A war of the alliances (an attack on a neutral that joins the Allies)
    // brings Italy into the war with them before it has chosen: then the
    // choice is how to fight it.
    Event& e = s.Add(130, "IT", true, {1, 6, 1940}, {31, 12, 1941}, k1940);
    e.title = "Italy's parallel war";
    e.description =
        "The war between the alliances has made Italy a belligerent in name. France is collapsing; Mussolini must "
        "decide whether to fight a war of his own in the Alps and in Africa or to keep the army at home.";
    e.image = "europe1939_italy.png";
    Script::When(e, {FlagIs(109, 0), s.War("IT", "FR", true)});
    Script::Choice(e, 80, "Attack in the Alps and in Africa", "Italy fights; the war economy rises.",
                   {Do("Country.ChangeWarEconomy", {double(s.C("IT")), 10})});
    Script::Choice(e, 20, "Stay on the defensive", "Italy fights only where it must.",
                   {Do("Country.ChangeSocialUnrest", {double(s.C("IT")), -5})});
  }
  {
    Event& e = s.Add(110, "FR", true, {1, 9, 1939}, {31, 12, 1942}, k1940);
    e.title = "The fall of France";
    e.description =
        "Paris has fallen and the armies are in retreat to the Loire. Marshal Petain asks for an armistice; a few "
        "ministers want to carry on the war from Algiers with the fleet and the empire.";
    e.image = "europe1939_fall_of_france.png";
    Script::When(e, {s.Axis("Paris")});
    const Hex freeFrench{13, 24};  // in the Thames valley, west of London
    std::vector<Effect> armistice = {Do("Country.MakePeace", {double(s.C("FR")), 0})};
    // The occupied zone: the north and the Atlantic coast; the south stays
    // French under the government at Vichy, and what the Axis armies took
    // of it goes back behind the demarcation line.
    const auto occupied = [](int x, int y) { return x <= 31 && y >= 24 && y <= 41 && (y <= 33 || x <= 16); };
    for (Effect& f : s.Transfer("FR", s.C("DE"), false, occupied)) armistice.push_back(std::move(f));
    for (Effect& f : s.Transfer("FR", s.C("FR"), false, [&occupied](int x, int y) {
           return x <= 31 && y >= 24 && y <= 41 && !occupied(x, y);
         })) {
      armistice.push_back(std::move(f));
    }
    // Germany's offensive in the West is over: its targets there go.
    for (Effect f : {s.RemoveTarget("DE", "Liege"), s.RemoveTarget("DE", "Reims"), s.RemoveTarget("DE", "Strasbourg"),
                     s.RemoveTarget("DE", "Paris")}) {
      armistice.push_back(std::move(f));
    }
    for (Effect f : {Do("Country.KillAllUnitsInReserve", {double(s.C("FR"))}),
                     Do("Country.SetPoliticalStrength", {double(s.C("FR")), 40}),
                     Do("Hex.AddLandUnit", {double(freeFrench.x), double(freeFrench.y), double(s.C("UK")), kInfantryDivision, 2, 60},
                        {"Free French Division"})}) {
      armistice.push_back(std::move(f));
    }
    Script::Choice(e, 85, "Ask for an armistice: the government moves to Vichy",
                   "Peace with the Axis; Germany occupies the north and the Atlantic coast; the Free French fight on "
                   "with Britain.",
                   armistice);
    Script::Choice(e, 15, "Fight on from North Africa", "The war goes on; unrest grows.",
                   {Do("Country.ChangeSocialUnrest", {double(s.C("FR")), 20}), s.Points("FR", -10)});
  }
  {
    // France keeps its place in the Allies (no effect takes a country out of
    // an alliance), so a later war of the alliances would drag Vichy back in:
    // this standing event makes peace again whenever that happens.
    Event& e = s.Add(131, "FR", false, {1, 6, 1940}, {}, k1940);
    e.title = "Vichy keeps out of the war";
    e.description = "The government at Vichy holds to the armistice and stays at peace with every power.";
    e.image = "europe1939_fall_of_france.png";
    e.standing = true;
    e.condition = All({FlagIs(110, 1)}, {Any({s.War("FR", "DE", true), s.War("FR", "IT", true), s.War("FR", "UK", true)})});
    Option o;
    o.chanceAI = 100;
    o.description = "Peace";
    o.tooltip = "France makes peace with every country it is at war with.";
    o.effects = {Do("Country.MakePeace", {double(s.C("FR")), 0})};
    e.options.push_back(o);
  }
  {
    Event& e = s.Add(111, "UK", true, {1, 6, 1940}, {31, 12, 1940}, k1940);
    e.title = "Operation Catapult";
    e.description =
        "The French fleet lies at Toulon and Mers-el-Kebir. Should it fall into German hands the balance at sea "
        "would tip. Admiral Somerville awaits orders.";
    e.image = "europe1939_catapult.png";
    Script::When(e, {FlagIs(110, 1)});
    Script::Choice(e, 60, "Open fire on the French fleet", "The ships in Toulon and Oran are shelled.",
                   {Do("Country.DamageRandomShipsInSeaZone", {double(s.C("FR")), double(s.Sea("Toulon")), 0.3, 0.8}),
                    Do("Country.DamageRandomShipsInSeaZone", {double(s.C("FR")), double(s.Sea("Oran")), 0.3, 0.8}),
                    Do("Country.ChangePoliticalStrength", {double(s.C("UK")), 2})});
    Script::Choice(e, 40, "Trust Admiral Darlan's word", "The French fleet stays in port.",
                   {Do("Country.ChangePoliticalStrength", {double(s.C("UK")), -3})});
  }
  {
    Event& e = s.Add(112, "DE", true, {1, 9, 1940}, {31, 5, 1941}, k1940);
    e.title = "The Blitz";
    e.description =
        "The Luftwaffe has not won the skies over southern England. Goering proposes to turn the bombers on London "
        "to break the will of the British people.";
    e.image = "europe1939_blitz.png";
    Script::When(e, {FlagIs(110, 1), s.War("DE", "UK", true)});
    Script::Choice(e, 55, "Turn the bombers on London", "London burns; Britain's resolve hardens.",
                   {s.CityPoints("London", -1), Do("Country.ChangeSocialUnrest", {double(s.C("UK")), 5}),
                    Do("Country.ChangeWarEconomy", {double(s.C("UK")), 5})});
    Script::Choice(e, 45, "Keep hammering the RAF's airfields", "Fighter Command is worn down.",
                   {s.Points("UK", -5)});
  }
  {
    Event& e = s.Add(113, "UK", true, {1, 9, 1940}, {31, 12, 1941}, k1940);
    e.title = "Destroyers for Bases";
    e.description =
        "Washington offers fifty old destroyers for the Atlantic convoys in exchange for leases on British bases "
        "in the Western Hemisphere.";
    e.image = "europe1939_convoy.png";
    Script::When(e, {s.War("UK", "DE", true)});
    Script::Choice(e, 80, "Lease the bases for the destroyers", "Two escort flotillas join the reserve.",
                   {Do("Hex.AddNavalUnit", {double(s.C("UK")), kCruiser}, {"Town Class Escort Group"}),
                    Do("Hex.AddNavalUnit", {double(s.C("UK")), kCruiser}, {"Western Approaches Escort Group"}),
                    Do("Country.ChangeDiplomaticPoints", {double(s.C("UK")), -1})});
    Script::Choice(e, 20, "Keep the bases", "No destroyers.", {Do("Country.ChangeDiplomaticPoints", {double(s.C("UK")), 1})});
  }
  {
    Event& e = s.Add(114, "SU", true, {16, 6, 1940}, {31, 12, 1940}, k1940);
    e.title = "Ultimatum to Romania: Bessarabia";
    e.description =
        "The secret protocol left Bessarabia to the Soviet sphere. With France beaten, Moscow can demand it from "
        "Bucharest, and northern Bukovina with it.";
    e.image = "europe1939_bessarabia.png";
    Script::When(e, {FlagIs(101, 1), s.War("SU", "DE", false)});
    Script::Choice(e, 85, "Send the ultimatum to Bucharest", "Bessarabia and northern Bukovina become Soviet.",
                   Join(s.Transfer("RO", s.C("SU"), true, [](int x, int y) { return (x >= 63 && y <= 36) || y <= 31; }),
                        std::vector<Effect>{s.Orientation("RO", kProAxis),
                                            Do("Country.ChangeAllianceEntry", {double(s.C("RO")), 20})}));
    Script::Choice(e, 15, "Leave Romania's borders as they are", "Romania keeps its provinces.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("SU")), 1})});
  }
  {
    Event& e = s.Add(115, "SU", true, {16, 6, 1940}, {31, 12, 1940}, k1940);
    e.title = "The annexation of the Baltic states";
    e.description =
        "Soviet garrisons already stand in Estonia, Latvia and Lithuania. Rigged elections could bring them into "
        "the Union as Soviet republics.";
    e.image = "europe1939_baltic.png";
    Script::When(e, {FlagIs(103, 1), s.War("SU", "DE", false)});
    std::vector<Effect> annex;
    for (const char* code : {"EE", "LV", "LT"}) {
      const double c = s.C(code);
      for (Effect f : {Do("Country.KillAllLandUnits", {c}), Do("Country.KillAllAirUnits", {c}),
                       Do("Country.KillAllNavalUnits", {c}),
                       Do("Country.ChangeTerritoryControllerOwnerAndOriginalOwner", {c, double(s.C("SU"))}),
                       Do("Country.KillAllUnitsInReserve", {c}), Do("Country.SetActive", {c, 0})}) {
        annex.push_back(std::move(f));
      }
    }
    Script::Choice(e, 85, "Annex Estonia, Latvia and Lithuania", "The three states become part of the Soviet Union.", annex);
    Script::Choice(e, 15, "Keep them as protectorates", "They keep their governments.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("SU")), 1})});
  }
  {
    Event& e = s.Add(116, "DE", true, {16, 8, 1940}, {31, 12, 1940}, k1940);
    e.title = "The Second Vienna Award";
    e.description =
        "Hungary and Romania are on the brink of war over Transylvania, and Germany needs the Romanian oil in "
        "peace. Ribbentrop and Ciano are asked to arbitrate.";
    e.image = "europe1939_vienna.png";
    Script::When(e, {s.War("DE", "RO", false), s.War("DE", "HU", false)});
    Script::Choice(
        e, 80, "Award northern Transylvania to Hungary", "Northern Transylvania to Hungary, southern Dobruja to Bulgaria.",
        Join(s.Transfer("RO", s.C("HU"), true, [](int x, int y) { return x >= 52 && x <= 58 && y >= 32 && y <= 35; }),
             s.Transfer("RO", s.C("BG"), true, [](int x, int y) { return x >= 61 && y >= 39; }),
             std::vector<Effect>{Do("Country.ChangeAllianceEntry", {double(s.C("HU")), 20}),
                                 s.Orientation("RO", kProAxis)}));
    Script::Choice(e, 20, "Refuse to arbitrate", "Budapest is disappointed.",
                   {Do("Country.ChangeAllianceEntry", {double(s.C("HU")), -10})});
  }
  {
    Event& e = s.Add(117, "DE", true, {16, 11, 1940}, {31, 12, 1941}, k1940);
    e.title = "Hungary and Romania join the Tripartite Pact";
    e.description =
        "Budapest and Bucharest ask to sign the pact of Berlin, Rome and Tokyo. German troops would guard the "
        "oil fields of Ploiesti.";
    e.image = "europe1939_pact.png";
    Script::When(e, {s.War("DE", "RO", false), s.War("DE", "HU", false)});
    Script::Choice(e, 85, "Welcome them into the pact", "Hungary and Romania join the Axis.",
                   {s.Orientation("HU", kProAxis), s.Join("HU"), s.Orientation("RO", kProAxis), s.Join("RO")});
    Script::Choice(e, 15, "Keep them as friendly neutrals", "They draw closer to the Axis.",
                   {Do("Country.ChangeAllianceEntry", {double(s.C("HU")), 10}),
                    Do("Country.ChangeAllianceEntry", {double(s.C("RO")), 10})});
  }
  {
    Event& e = s.Add(118, "IT", true, {16, 10, 1940}, {31, 12, 1941}, k1940);
    e.title = "Italy invades Greece";
    e.description =
        "Mussolini learns of the German troops in Romania from the newspapers. He means to repay Hitler in his "
        "own coin: Greece is to be taken from Albania within weeks.";
    e.image = "europe1939_balkans.png";
    Script::When(e, {s.War("IT", "UK", true), s.War("IT", "GR", false)}, {Any({FlagIs(109, 1), FlagIs(130, 1)})});
    Script::Choice(e, 70, "Attack Greece from Albania", "War with Greece.",
                   {s.DeclareWar("IT", "GR"), s.Orientation("GR", kProAllied)});
    Script::Choice(e, 30, "Leave Greece alone", "The Balkans stay quiet.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("IT")), 1})});
  }
  {
    Event& e = s.Add(119, "ES", true, {16, 10, 1940}, {31, 12, 1940}, k1940);
    e.title = "The meeting at Hendaye";
    e.description =
        "Hitler meets Franco at the French border. Spain could enter the war for Gibraltar and French Morocco, "
        "but the country is starving after its civil war.";
    e.image = "europe1939_hendaye.png";
    Script::When(e, {FlagIs(110, 1)});
    Script::Choice(e, 85, "Franco stays non-belligerent", "Spain keeps out of the war.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("ES")), 1})});
    Script::Choice(e, 15, "Join the Axis", "Spain joins the Axis.", {s.Orientation("ES", kProAxis), s.Join("ES")});
  }
}

void Events1941(Script& s) {
  {
    Event& e = s.Add(120, "UK", true, {1, 3, 1941}, {31, 12, 1941}, k1941);
    e.title = "Lend-Lease";
    e.description =
        "Congress has passed the Lend-Lease Act: Britain may have what it needs and pay after the war. What "
        "should the first shipments carry?";
    e.image = "europe1939_convoy.png";
    Script::When(e, {s.War("UK", "DE", true)});
    Script::Choice(e, 60, "Tanks, aircraft and machine tools", "Production points.", {s.Points("UK", 25)});
    Script::Choice(e, 40, "Escorts and merchant ships", "Sea transport and a convoy group.",
                   {Do("Country.ChangeSTP", {double(s.C("UK")), 4}),
                    Do("Hex.AddNavalUnit", {double(s.C("UK")), kCargoShip}, {"Liberty Convoy"}), s.Points("UK", 10)});
  }
  {
    Event& e = s.Add(121, "BG", true, {1, 3, 1941}, {31, 12, 1941}, k1941);
    e.title = "Bulgaria joins the Tripartite Pact";
    e.description =
        "German divisions wait on the Danube for the road to Greece. Berlin promises Bulgaria an outlet to the "
        "Aegean in return.";
    e.image = "europe1939_pact.png";
    Script::When(e, {s.War("BG", "DE", false)});
    Script::Choice(e, 80, "Sign the pact", "Bulgaria joins the Axis.", {s.Orientation("BG", kProAxis), s.Join("BG")});
    Script::Choice(e, 20, "Stay neutral", "Bulgaria stays out.", {Do("Country.ChangeDiplomaticPoints", {double(s.C("BG")), 1})});
  }
  {
    Event& e = s.Add(122, "YU", true, {16, 3, 1941}, {31, 12, 1941}, k1941);
    e.title = "The Belgrade coup";
    e.description =
        "Prince Paul's government has signed the Tripartite Pact in Vienna. In Belgrade crowds march and air force "
        "officers are ready to overthrow the regency.";
    e.image = "europe1939_balkans.png";
    Script::When(e, {s.War("YU", "DE", false)});
    Script::Choice(e, 35, "Keep to the pact", "Yugoslavia joins the Axis.", {s.Orientation("YU", kProAxis), s.Join("YU")});
    Script::Choice(e, 65, "The officers overthrow the regent", "Yugoslavia turns to the Allies; Germany will answer.",
                   {s.Orientation("YU", kProAllied), Do("Country.ChangeSocialUnrest", {double(s.C("YU")), 10})});
  }
  {
    Event& e = s.Add(123, "DE", true, {1, 4, 1941}, {31, 12, 1941}, k1941);
    e.title = "The invasion of Yugoslavia";
    e.description =
        "Belgrade has turned against the pact. The armies in Austria, Hungary and Bulgaria can strike at "
        "Yugoslavia from three sides at once.";
    e.image = "europe1939_balkans.png";
    Script::When(e, {FlagIs(122, 2), s.War("DE", "YU", false)});
    Script::Choice(e, 80, "Invade Yugoslavia", "War with Yugoslavia.", {s.DeclareWar("DE", "YU")});
    Script::Choice(e, 20, "Leave the Balkans to Italy", "No German campaign in the Balkans.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("YU")), 2})});
  }
  {
    // Greece may be at war with Germany already: Italy's attack made it an
    // ally of Britain.
    Event& e = s.Add(132, "DE", true, {1, 4, 1941}, {31, 12, 1941}, k1941);
    e.title = "Operation Marita: Greece";
    e.description =
        "British troops are landing in Greece, within bomber range of the Romanian oil. The armies in Bulgaria "
        "could cross the Metaxas Line and drive for Athens.";
    e.image = "europe1939_balkans.png";
    Script::When(e, {s.War("DE", "GR", false)}, {Any({FlagIs(123, 1), s.War("IT", "GR", true)})});
    Script::Choice(e, 80, "Invade Greece", "War with Greece.", {s.DeclareWar("DE", "GR")});
    Script::Choice(e, 20, "Leave Greece to Italy", "No German campaign in Greece.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("GR")), 1})});
  }
  {
    Event& e = s.Add(124, "DE", true, {16, 6, 1941}, {31, 12, 1941}, k1941);
    e.title = "Operation Barbarossa";
    e.description =
        "Three army groups, three thousand tanks and the armies of the allies stand from the Baltic to the Black "
        "Sea. The Soviet Union could be brought down before winter; or the pact could stand another year.";
    e.image = "europe1939_barbarossa.png";
    Script::When(e, {s.War("DE", "SU", false)});
    Script::Choice(e, 85, "Launch Barbarossa", "War with the Soviet Union; the armies drive on Minsk, Kiev and Moscow.",
                   {s.DeclareWar("DE", "SU"), s.AddTarget("DE", "Minsk", 60), s.AddTarget("DE", "Kiev", 60),
                    s.AddTarget("DE", "Smolensk", 60), s.AddTarget("DE", "Moscow", 100)});
    Script::Choice(e, 15, "Keep the pact with Stalin", "Soviet deliveries go on.", {s.Points("DE", 5)});
  }
  {
    Event& e = s.Add(125, "FI", true, {16, 6, 1941}, {31, 12, 1941}, k1941);
    e.title = "The Continuation War";
    e.description =
        "Germany has attacked the Soviet Union. Finland could take back Karelia at Germany's side, as a "
        "co-belligerent rather than an ally.";
    e.image = "europe1939_winter_war.png";
    Script::When(e, {s.War("DE", "SU", true), s.War("FI", "SU", false)});
    Script::Choice(e, 75, "Attack to win back Karelia", "War with the Soviet Union.",
                   {s.Orientation("FI", kProAxis), s.DeclareWar("FI", "SU")});
    Script::Choice(e, 25, "Stay out of the war", "Finland keeps the peace.",
                   {Do("Country.ChangeSocialUnrest", {double(s.C("FI")), 5})});
  }
  {
    Event& e = s.Add(126, "SU", true, {1, 7, 1941}, {31, 12, 1941}, k1941);
    e.title = "The evacuation of industry";
    e.description =
        "The Germans are deep in the Ukraine and Belorussia. Whole factories could be taken down and sent east by "
        "rail to the Volga and beyond, at the price of months of lost output.";
    e.image = "europe1939_evacuation.png";
    Script::When(e, {s.War("SU", "DE", true)});
    Script::Choice(e, 80, "Move the factories east", "Production falls now and rises in the cities of the Volga.",
                   {s.Points("SU", -15), s.CityPoints("Kazan", 2), s.CityPoints("Gorky", 2), s.CityPoints("Saratov", 2),
                    s.CityPoints("Stalingrad", 1), s.CityPoints("Kiev", -1), s.CityPoints("Kharkov", -1)});
    Script::Choice(e, 20, "Keep the factories where they are", "Output goes on, for now.", {s.Points("SU", 5)});
  }
  {
    Event& e = s.Add(127, "UK", true, {16, 8, 1941}, {31, 12, 1941}, k1941);
    e.title = "The Arctic convoys";
    e.description =
        "The Soviet Union fights for its life. Britain can send tanks, aircraft and raw materials round the North "
        "Cape to Arkhangelsk, through the U-boats and the polar night.";
    e.image = "europe1939_convoy.png";
    Script::When(e, {s.War("SU", "DE", true), s.War("UK", "DE", true)});
    Script::Choice(e, 75, "Sail the convoys to Arkhangelsk", "Britain gives production to the Soviet Union.",
                   {s.Points("UK", -5), s.Points("SU", 15)});
    Script::Choice(e, 25, "Keep the supplies for Britain", "Moscow is told to wait.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("UK")), -1})});
  }
  {
    Event& e = s.Add(128, "DE", true, {1, 2, 1941}, {31, 12, 1941}, k1941);
    e.title = "The Afrika Korps";
    e.description =
        "The Italian Tenth Army has been destroyed in Cyrenaica and Tripoli itself is in danger. Rommel could "
        "take a corps across the Mediterranean.";
    e.image = "europe1939_afrika.png";
    Script::When(e, {s.War("IT", "UK", true)});
    const Hex landing{38, 61};  // beside Tripoli
    Script::Choice(e, 75, "Send a corps to Tripoli", "A German mechanized corps lands in Libya.",
                   {Do("Hex.AddLandUnit", {double(landing.x), double(landing.y), double(s.C("DE")), kMechanizedCorps, 3, 80},
                       {"Deutsches Afrikakorps"})});
    Script::Choice(e, 25, "Let Italy fight its own war in Africa", "No German troops in Africa.",
                   {Do("Country.ChangeDiplomaticPoints", {double(s.C("IT")), -1})});
  }
  {
    Event& e = s.Add(129, "SU", false, {1, 12, 1941}, {31, 1, 1942}, k1941);
    e.title = "General Winter";
    e.description =
        "The frosts have come early. Engines will not start, rifles jam, and the German armies have no winter "
        "clothing. Siberian divisions arrive before Moscow.";
    e.image = "europe1939_winter.png";
    Script::When(e, {s.War("SU", "DE", true)});
    Script::Choice(e, 100, "The Russian winter", "The Axis units in the east lose effectiveness.",
                   {Do("Area.ChangeEffectivityOfAllUnits", {55, 0, 99, 40, 1, -15}),
                    Do("Hex.AddLandUnit", {-1, -1, double(s.C("SU")), kInfantryCorps, 3, 100}, {"Siberian Rifle Corps"})});
  }
}

}  // namespace

std::vector<std::string> Europe1939EventFiles() { return {k1939, k1940, k1941}; }

std::vector<Event> Europe1939Events(const ScenarioGeo& geo) {
  Script s(geo);
  Events1939(s);
  Events1940(s);
  Events1941(s);
  return s.Take();
}

}  // namespace evscript
